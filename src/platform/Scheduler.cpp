#include "platform/Scheduler.h"

#include <algorithm>

namespace solvane::platform {

void VirtualClockScheduler::setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) {
    // A zero period still waits one tick, as a window timer does.
    const unsigned period = std::max(periodMs, 1U);
    m_timers[{owner, id}] = Timer{period, m_now + period, m_nextOrder++,
                                  std::make_shared<std::function<void()>>(std::move(callback))};
}

void VirtualClockScheduler::killTimer(Owner owner, int id) {
    m_timers.erase({owner, id});
}

void VirtualClockScheduler::killTimers(Owner owner) {
    std::erase_if(m_timers, [owner](const auto& timer) { return timer.first.first == owner; });
}

bool VirtualClockScheduler::isSet(Owner owner, int id) const {
    return m_timers.count({owner, id}) != 0;
}

unsigned VirtualClockScheduler::period(Owner owner, int id) const {
    const auto found = m_timers.find({owner, id});
    return found == m_timers.end() ? 0 : found->second.periodMs;
}

void VirtualClockScheduler::advance(std::uint64_t ms) {
    const std::uint64_t end = m_now + ms;
    while (true) {
        auto next = m_timers.end();
        for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer) {
            if (timer->second.due > end)
                continue;
            if (next == m_timers.end() || timer->second.due < next->second.due ||
                (timer->second.due == next->second.due && timer->second.order < next->second.order))
                next = timer;
        }
        if (next == m_timers.end())
            break;
        m_now = next->second.due;
        next->second.due += next->second.periodMs;
        next->second.order = m_nextOrder++;
        // The callback may kill or reset its own timer: keep it alive while it runs.
        const auto callback = next->second.callback;
        (*callback)();
    }
    m_now = end;
}

} // namespace solvane::platform
