#include "history/HistoryRecorder.h"

#include "history/IsoTime.h"

#include <algorithm>

namespace solvane::history {

namespace {
constexpr double kWattSecondsPerKWh = 3.6e6;
} // namespace

void HistoryRecorder::add(const PowerSample& sample, std::int64_t wallSeconds, std::int64_t bootSeconds,
                          std::int64_t savedHundredthWattSeconds) {
    const auto moment = m_timeline.at(wallSeconds, bootSeconds);
    const std::int64_t minute = moment.time - moment.time % kSecondsPerMinute;
    if (m_minute.refreshes > 0 && minute != m_minute.time)
        flush();
    if (m_minute.refreshes == 0)
        m_minute = MinuteRow{minute};
    m_foldBefore = moment.foldBefore;
    // Running sums; addToWaiting() turns them into averages.
    m_minute.systemWatts += sample.systemWatts;
    m_minute.cpuWatts += sample.cpuWatts;
    m_minute.savingWatts += sample.savingWatts;
    m_minute.cpuCelsius += sample.cpuCelsius;
    m_minute.fanRpm += sample.fanRpm;
    m_minute.coreVolts += sample.coreVolts;
    m_minute.mode = static_cast<int>(sample.mode);
    m_minute.powerSource = sample.powerSource.empty() ? std::string(kBoardPowerSource) : sample.powerSource;
    ++m_minute.refreshes;
    m_saved += savedHundredthWattSeconds;
    m_consumedWattSeconds += sample.systemWatts * kRefreshSeconds;
}

void HistoryRecorder::flush() {
    if (m_minute.refreshes > 0)
        addToWaiting();
    if (!m_waiting.minutes.empty() || !m_waiting.days.empty())
        write();
}

void HistoryRecorder::addToWaiting() {
    auto row = m_minute;
    const double count = row.refreshes;
    for (double* sum :
         {&row.systemWatts, &row.cpuWatts, &row.savingWatts, &row.cpuCelsius, &row.fanRpm, &row.coreVolts})
        *sum /= count;
    auto& minutes = m_waiting.minutes;
    if (minutes.size() == kMaxWaitingMinutes)
        minutes.erase(minutes.begin());
    minutes.push_back(row);
    const auto day = row.time - row.time % kSecondsPerDay;
    auto& days = m_waiting.days;
    auto energy = std::find_if(days.begin(), days.end(), [day](const DayEnergy& e) { return e.day == day; });
    if (energy == days.end())
        energy = days.insert(days.end(), DayEnergy{day});
    energy->consumedKwh += m_consumedWattSeconds / kWattSecondsPerKWh;
    energy->savedHundredthWattSeconds += m_saved;
    m_waiting.foldBefore = m_foldBefore;
    m_minute = MinuteRow{};
    m_saved = 0;
    m_consumedWattSeconds = 0;
}

void HistoryRecorder::write() {
    if (m_store.write(m_waiting)) {
        m_waiting = MinuteBatch{};
        return;
    }
    if (m_failureTold || !m_onFailure)
        return;
    m_failureTold = true;
    m_onFailure("The power history cannot be written (" + m_store.lastError() +
                "); its minutes are kept in memory and written as soon as it can be.");
}

} // namespace solvane::history
