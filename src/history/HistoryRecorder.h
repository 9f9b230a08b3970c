#pragma once

#include "history/HistoryStore.h"
#include "history/HistoryTimeline.h"
#include "history/PowerSample.h"

#include <cstdint>
#include <functional>
#include <string>

namespace solvane::history {

// Collects the refreshes of the current minute and writes the minute, with the energy it adds to
// its day, when the next minute begins (or at the end of the run). A write that fails (disk full,
// file locked or read-only) loses nothing: the minutes and their energy wait in memory and go
// with the next write that succeeds, and the user is told once per run.
class HistoryRecorder {
public:
    // The interval each refresh stands for: the refresh period.
    static constexpr double kRefreshSeconds = 3.0;
    // Minutes kept in memory while writes fail (a day); older ones keep only their energy.
    static constexpr std::size_t kMaxWaitingMinutes = 1440;
    using FailureNotifier = std::function<void(const std::string&)>;

    explicit HistoryRecorder(HistoryStore& store) : m_store(store), m_timeline(store.newestMinute()) {}
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    void onWriteFailure(FailureNotifier notifier) { m_onFailure = std::move(notifier); }

    // One refresh at `wallSeconds` (UTC) and `bootSeconds` (see HistoryTimeline), and what it
    // saved (0.01 W·s, as the registry totals count it).
    void add(const PowerSample& sample, std::int64_t wallSeconds, std::int64_t bootSeconds,
             std::int64_t savedHundredthWattSeconds);
    // Writes the minute being collected and whatever still waits.
    void flush();
    // Minutes not yet on disk.
    std::size_t waitingMinutes() const { return m_waiting.minutes.size(); }

private:
    void addToWaiting();
    void write();

    HistoryStore& m_store;
    HistoryTimeline m_timeline;
    FailureNotifier m_onFailure;
    bool m_failureTold = false;
    MinuteRow m_minute;
    std::int64_t m_saved = 0; // 0.01 W·s of the minute
    double m_consumedWattSeconds = 0;
    std::int64_t m_foldBefore = 0;
    MinuteBatch m_waiting;
};

} // namespace solvane::history
