#include "tuning/CountedTimer.h"

namespace solvane::tuning {

CountedTimer::CountedTimer(platform::Scheduler& scheduler, platform::Scheduler::Owner owner, int id,
                           unsigned periodMs, int ticks, std::function<bool()> work)
    : m_scheduler(scheduler), m_owner(owner), m_id(id), m_periodMs(periodMs), m_ticks(ticks),
      m_work(std::move(work)) {}

CountedTimer::~CountedTimer() {
    m_scheduler.killTimer(m_owner, m_id);
}

void CountedTimer::start() {
    m_scheduler.setTimer(m_owner, m_id, m_periodMs, [this] { tick(); });
}

void CountedTimer::tick() {
    if (!m_work())
        return;
    if (++m_counted < m_ticks)
        return;
    m_scheduler.killTimer(m_owner, m_id);
    m_counted = 0;
}

} // namespace solvane::tuning
