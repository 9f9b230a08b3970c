#include "tuning/AdvancedPageTimers.h"

namespace solvane::tuning {

AdvancedPageTimers::AdvancedPageTimers(platform::Scheduler& scheduler, platform::Scheduler::Owner owner,
                                       const power::PowerModeState& modes, Work work)
    : m_scheduler(scheduler), m_owner(owner), m_modes(modes), m_work(std::move(work)),
      m_captions(scheduler, owner, kCaptionTimer, kCaptionPeriodMs, kCaptionTicks, [this] {
          if (m_work.listOpen())
              return false;
          m_work.refreshCaptions();
          return true;
      }) {}

AdvancedPageTimers::~AdvancedPageTimers() {
    m_scheduler.killTimer(m_owner, kReadoutTimer);
}

void AdvancedPageTimers::start() {
    m_scheduler.setTimer(m_owner, kReadoutTimer, kReadoutPeriodMs, [this] { readoutTick(); });
}

void AdvancedPageTimers::readoutTick() {
    if (m_recordedMode != power::PowerMode::None && m_recordedMode != m_modes.ActiveMode)
        startCaptionRefresh();
    m_work.refreshReadouts();
    m_work.refreshRadios();
    m_recordedMode = m_modes.ActiveMode;
}

} // namespace solvane::tuning
