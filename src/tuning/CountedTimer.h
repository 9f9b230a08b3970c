#pragma once

#include "platform/Scheduler.h"

#include <functional>

namespace solvane::tuning {

// A page timer that stops itself after a number of counted ticks: the caption refresh that follows
// a change on the tuning pages. A tick counts only when its work ran. The count is reset only when
// the timer stops, so starting it again while it runs does not give a fresh set of ticks.
class CountedTimer {
public:
    // work returns whether the tick counts (false: it had nothing to do this time).
    CountedTimer(platform::Scheduler& scheduler, platform::Scheduler::Owner owner, int id, unsigned periodMs,
                 int ticks, std::function<bool()> work);
    ~CountedTimer();
    CountedTimer(const CountedTimer&) = delete;
    CountedTimer& operator=(const CountedTimer&) = delete;

    void start();
    bool running() const { return m_scheduler.isSet(m_owner, m_id); }
    int counted() const { return m_counted; }

private:
    void tick();

    platform::Scheduler& m_scheduler;
    platform::Scheduler::Owner m_owner;
    int m_id;
    unsigned m_periodMs;
    int m_ticks;
    std::function<bool()> m_work;
    int m_counted = 0;
};

} // namespace solvane::tuning
