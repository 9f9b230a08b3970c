#include "history/HistoryRecorder.h"

#include "history/IsoTime.h"

namespace solvane::history {

namespace {
constexpr double kWattSecondsPerKWh = 3.6e6;
} // namespace

void HistoryRecorder::add(const PowerSample& sample, std::int64_t timeSeconds,
                          std::int64_t savedHundredthWattSeconds) {
    const std::int64_t minute = timeSeconds - timeSeconds % kSecondsPerMinute;
    if (m_minute.refreshes > 0 && minute != m_minute.time)
        flush();
    if (m_minute.refreshes == 0)
        m_minute = MinuteRow{minute};
    // Running sums; flush() turns them into averages.
    m_minute.systemWatts += sample.systemWatts;
    m_minute.cpuWatts += sample.cpuWatts;
    m_minute.savingWatts += sample.savingWatts;
    m_minute.cpuCelsius += sample.cpuCelsius;
    m_minute.fanRpm += sample.fanRpm;
    m_minute.coreVolts += sample.coreVolts;
    m_minute.mode = static_cast<int>(sample.mode);
    ++m_minute.refreshes;
    m_saved += savedHundredthWattSeconds;
    m_consumedWattSeconds += sample.systemWatts * kRefreshSeconds;
}

void HistoryRecorder::flush() {
    if (m_minute.refreshes == 0)
        return;
    auto row = m_minute;
    const double count = row.refreshes;
    for (double* sum :
         {&row.systemWatts, &row.cpuWatts, &row.savingWatts, &row.cpuCelsius, &row.fanRpm, &row.coreVolts})
        *sum /= count;
    // A failed write (disk full) loses this minute only; the next one tries again.
    m_store.recordMinute(row, m_consumedWattSeconds / kWattSecondsPerKWh, m_saved);
    m_minute = MinuteRow{};
    m_saved = 0;
    m_consumedWattSeconds = 0;
}

} // namespace solvane::history
