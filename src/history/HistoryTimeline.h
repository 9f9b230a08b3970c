#pragma once

#include <cstdint>
#include <optional>

namespace solvane::history {

// Places refreshes on the history's time line although the wall clock may be stepped (an NTP
// correction at boot, a user setting the date). Minute times follow the wall clock but never go
// back within a run: after a step back they follow the boot clock until the wall clock catches
// up. What is folded away is measured against the boot clock, so a step forward folds nothing.
class HistoryTimeline {
public:
    // newestStored: the newest minute already in the history.
    explicit HistoryTimeline(std::optional<std::int64_t> newestStored) : m_newestStored(newestStored) {}

    struct Moment {
        std::int64_t time = 0;       // where the refresh goes, seconds UTC
        std::int64_t foldBefore = 0; // minute rows before this may be folded away
    };
    // A refresh at `wallSeconds` by the wall clock and `bootSeconds` by a clock that counts
    // from boot, suspend included, and cannot be set.
    Moment at(std::int64_t wallSeconds, std::int64_t bootSeconds);

private:
    std::optional<std::int64_t> m_newestStored;
    bool m_started = false;
    std::int64_t m_time = 0;
    std::int64_t m_boot = 0;
    // Moves with the boot clock from the run's start (and never past the minute times).
    std::int64_t m_reference = 0;
};

} // namespace solvane::history
