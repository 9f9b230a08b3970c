#include "history/PowerHistory.h"

#include <ctime>

namespace solvane::history {

std::int64_t bootSeconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec;
}

PowerHistory::PowerHistory(power::PowerMonitor& monitor, const power::PowerMeasurement& measurement,
                           const power::PowerModeState& modes, platform::Registry& registry,
                           const std::filesystem::path& file, Clock clock, Clock bootClock)
    : m_monitor(monitor), m_measurement(measurement), m_modes(modes), m_registry(registry),
      m_clock(std::move(clock)), m_bootClock(std::move(bootClock)) {
    auto opened = HistoryStore::openForWriting(file);
    m_store = std::move(opened.store);
    m_notice = std::move(opened.notice);
    if (m_store)
        m_recorder = std::make_unique<HistoryRecorder>(*m_store);
    reloadLimits();
    m_monitor.addRefreshWatcher(this, [this] { recordRefresh(); });
}

PowerHistory::~PowerHistory() {
    m_monitor.removeRefreshWatchers(this);
    flush();
    if (m_recorder && m_recorder->waitingMinutes() > 0 && m_onFailure)
        m_onFailure("The power history could not be written; the last " +
                    std::to_string(m_recorder->waitingMinutes()) + " minutes of this run are not in it.");
}

void PowerHistory::onWriteFailure(HistoryRecorder::FailureNotifier notifier) {
    m_onFailure = notifier;
    if (m_recorder)
        m_recorder->onWriteFailure(std::move(notifier));
}

void PowerHistory::reloadLimits() {
    m_alerts.setLimits(readAlertLimits(m_registry));
}

void PowerHistory::flush() {
    if (m_recorder)
        m_recorder->flush();
}

void PowerHistory::recordRefresh() {
    const auto& values = m_measurement.values();
    auto sample = samplePower(values, m_monitor.lastSnapshot(), m_modes.ActiveMode);
    if (const auto* pc = m_monitor.thisPc())
        sample.powerSource = pc->drawnWatts ? pc->drawSource : pc->drawMissing;
    m_latest = sample;
    const auto now = m_clock();
    if (m_recorder)
        m_recorder->add(sample, now, m_bootClock(), values.LastIntervalSaving);
    for (const auto& crossing : m_alerts.check(sample, now)) {
        if (m_store)
            m_store->recordAlert(crossing);
        if (m_notifier)
            m_notifier(crossing);
    }
}

} // namespace solvane::history
