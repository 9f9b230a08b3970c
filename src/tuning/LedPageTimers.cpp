#include "tuning/LedPageTimers.h"

namespace solvane::tuning {

LedPageTimers::LedPageTimers(platform::Scheduler& scheduler, platform::Scheduler::Owner owner, Work work)
    : m_scheduler(scheduler), m_owner(owner), m_work(std::move(work)),
      m_captions(scheduler, owner, kCaptionTimer, kCaptionPeriodMs, kCaptionTicks, [this] {
          m_work.refreshCaptions();
          return true;
      }) {}

LedPageTimers::~LedPageTimers() {
    m_scheduler.killTimer(m_owner, kLampTimer);
    m_scheduler.killTimer(m_owner, kBlinkTimer);
}

void LedPageTimers::startLamps(unsigned periodMs) {
    m_scheduler.setTimer(m_owner, kLampTimer, periodMs, [this] {
        m_work.refreshLamps();
        m_work.refreshCaptions();
    });
}

void LedPageTimers::startBlinking() {
    m_scheduler.setTimer(m_owner, kBlinkTimer, kBlinkPeriodMs, [this] { blinkTick(); });
}

void LedPageTimers::blinkTick() {
    m_blinkOn = !m_blinkOn;
    m_work.blink(m_blinkOn);
    m_scheduler.killTimer(m_owner, kLampTimer);
    if (m_work.listOpen())
        return;
    m_scheduler.killTimer(m_owner, kBlinkTimer);
    m_work.refreshLamps();
    startLamps(kLampPeriodAfterBlinkMs);
}

} // namespace solvane::tuning
