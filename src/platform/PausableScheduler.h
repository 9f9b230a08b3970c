#pragma once

#include "platform/Scheduler.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace solvane::platform {

// The timers of something that is not always seen (a page of the main window) on the program's
// scheduler. Paused, its timers are taken off the scheduler, so they do no work and cause no
// wake-up, yet stay set as far as their owners can tell: setting, killing and asking go on as
// before. Resuming sets every timer again with its period and runs each once at once, in the order
// they were set, so what they keep up to date is fresh the moment it is seen again.
class PausableScheduler final : public Scheduler {
public:
    enum class Start { Running, Paused };

    explicit PausableScheduler(Scheduler& base, Start start = Start::Running);
    ~PausableScheduler() override;
    PausableScheduler(const PausableScheduler&) = delete;
    PausableScheduler& operator=(const PausableScheduler&) = delete;

    void setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) override;
    void killTimer(Owner owner, int id) override;
    void killTimers(Owner owner) override;
    bool isSet(Owner owner, int id) const override;

    void pause();
    void resume();
    bool paused() const { return m_paused; }

private:
    struct Timer {
        unsigned periodMs = 0;
        std::uint64_t order = 0; // when it was set: resuming runs the timers in this order
        std::shared_ptr<std::function<void()>> callback;
    };
    using Key = std::pair<Owner, int>;
    void arm(const Key& key, const Timer& timer);

    Scheduler& m_base;
    bool m_paused;
    std::map<Key, Timer> m_timers; // every timer set through this scheduler, paused or not
    std::uint64_t m_nextOrder = 0;
};

} // namespace solvane::platform
