#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace solvane::platform {

// Window timers: each window (owner) has timers by id; setting a timer whose id is already set
// restarts it with the new period. A timer fires every period until it is killed; one-shot use
// kills it from its own callback.
class Scheduler {
public:
    using Owner = const void*;
    virtual ~Scheduler() = default;
    virtual void setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) = 0;
    virtual void killTimer(Owner owner, int id) = 0;
    // Kills every timer of an owner (a window being destroyed).
    virtual void killTimers(Owner owner) = 0;
    virtual bool isSet(Owner owner, int id) const = 0;
};

// Test double and head-less runs: a virtual clock. advance(ms) fires every timer that falls due,
// in time order (ties in the order they were set), without sleeping.
class VirtualClockScheduler final : public Scheduler {
public:
    void setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) override;
    void killTimer(Owner owner, int id) override;
    void killTimers(Owner owner) override;
    bool isSet(Owner owner, int id) const override;

    void advance(std::uint64_t ms);
    std::uint64_t now() const { return m_now; }
    // Period of a set timer, or 0.
    unsigned period(Owner owner, int id) const;

private:
    struct Timer {
        unsigned periodMs = 0;
        std::uint64_t due = 0;
        std::uint64_t order = 0;
        std::shared_ptr<std::function<void()>> callback;
    };
    using Key = std::pair<Owner, int>;
    std::map<Key, Timer> m_timers;
    std::uint64_t m_now = 0;
    std::uint64_t m_nextOrder = 0;
};

} // namespace solvane::platform
