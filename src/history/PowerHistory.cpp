#include "history/PowerHistory.h"

namespace solvane::history {

PowerHistory::PowerHistory(power::PowerMonitor& monitor, const power::PowerMeasurement& measurement,
                           const power::PowerModeState& modes, platform::Registry& registry,
                           const std::filesystem::path& file, Clock clock)
    : m_monitor(monitor), m_measurement(measurement), m_modes(modes), m_registry(registry),
      m_clock(std::move(clock)) {
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
    const auto sample = samplePower(values, m_monitor.lastSnapshot(), m_modes.ActiveMode);
    m_latest = sample;
    const auto now = m_clock();
    if (m_recorder)
        m_recorder->add(sample, now, values.LastIntervalSaving);
    for (const auto& crossing : m_alerts.check(sample, now)) {
        if (m_store)
            m_store->recordAlert(crossing);
        if (m_notifier)
            m_notifier(crossing);
    }
}

} // namespace solvane::history
