#include "platform/PausableScheduler.h"

#include <algorithm>
#include <vector>

namespace solvane::platform {

PausableScheduler::PausableScheduler(Scheduler& base, Start start)
    : m_base(base), m_paused(start == Start::Paused) {}

PausableScheduler::~PausableScheduler() {
    if (!m_paused)
        for (const auto& [key, timer] : m_timers)
            m_base.killTimer(key.first, key.second);
}

void PausableScheduler::arm(const Key& key, const Timer& timer) {
    // The callback may kill or reset its own timer: keep it alive while it runs.
    m_base.setTimer(key.first, key.second, timer.periodMs, [callback = timer.callback] { (*callback)(); });
}

void PausableScheduler::setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) {
    const Key key{owner, id};
    const Timer timer{periodMs, m_nextOrder++, std::make_shared<std::function<void()>>(std::move(callback))};
    m_timers[key] = timer;
    if (!m_paused)
        arm(key, timer);
}

void PausableScheduler::killTimer(Owner owner, int id) {
    if (m_timers.erase({owner, id}) != 0 && !m_paused)
        m_base.killTimer(owner, id);
}

void PausableScheduler::killTimers(Owner owner) {
    // An owner's timers all run through this scheduler.
    std::erase_if(m_timers, [owner](const auto& timer) { return timer.first.first == owner; });
    if (!m_paused)
        m_base.killTimers(owner);
}

bool PausableScheduler::isSet(Owner owner, int id) const {
    return m_timers.count({owner, id}) != 0;
}

void PausableScheduler::pause() {
    if (m_paused)
        return;
    m_paused = true;
    for (const auto& [key, timer] : m_timers)
        m_base.killTimer(key.first, key.second);
}

void PausableScheduler::resume() {
    if (!m_paused)
        return;
    m_paused = false;
    std::vector<std::pair<Key, Timer>> waiting(m_timers.begin(), m_timers.end());
    std::sort(waiting.begin(), waiting.end(),
              [](const auto& a, const auto& b) { return a.second.order < b.second.order; });
    for (const auto& [key, timer] : waiting) {
        // An earlier callback may have killed or reset this timer, or paused everything again.
        const auto now = m_timers.find(key);
        if (m_paused || now == m_timers.end() || now->second.order != timer.order)
            continue;
        arm(key, timer);
        const auto callback = timer.callback;
        (*callback)();
    }
}

} // namespace solvane::platform
