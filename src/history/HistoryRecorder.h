#pragma once

#include "history/HistoryStore.h"
#include "history/PowerSample.h"

#include <cstdint>

namespace solvane::history {

// Collects the refreshes of the current minute and writes the minute, with the energy it adds to
// its day, when the next minute begins (or at the end of the run).
class HistoryRecorder {
public:
    // The interval each refresh stands for: the refresh period.
    static constexpr double kRefreshSeconds = 3.0;

    explicit HistoryRecorder(HistoryStore& store) : m_store(store) {}
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // One refresh at `timeSeconds` (UTC) and what it saved (0.01 W·s, as the registry totals
    // count it).
    void add(const PowerSample& sample, std::int64_t timeSeconds, std::int64_t savedHundredthWattSeconds);
    // Writes the minute being collected.
    void flush();

private:
    HistoryStore& m_store;
    MinuteRow m_minute;
    std::int64_t m_saved = 0; // 0.01 W·s of the minute
    double m_consumedWattSeconds = 0;
};

} // namespace solvane::history
