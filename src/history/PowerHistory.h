#pragma once

#include "history/AlertLimits.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/PowerSample.h"
#include "platform/Registry.h"
#include "power/PowerMonitor.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace solvane::history {

// The power history of a running monitor: after every refresh it takes the read-outs, keeps them
// for the metrics, collects them into minute and day rows, and checks the user's limits. Without a
// usable store (damaged, locked) the monitor goes on and only the history is missing.
// Seconds since boot, suspend included, by a clock nobody can set.
std::int64_t bootSeconds();

class PowerHistory {
public:
    // Seconds since 1970, UTC.
    using Clock = std::function<std::int64_t()>;
    using AlertNotifier = std::function<void(const AlertRow&)>;

    // `clock`: the wall clock; `bootClock`: seconds by a clock that cannot be set (see
    // HistoryTimeline).
    PowerHistory(power::PowerMonitor& monitor, const power::PowerMeasurement& measurement,
                 const power::PowerModeState& modes, platform::Registry& registry,
                 const std::filesystem::path& file, Clock clock, Clock bootClock = bootSeconds);
    ~PowerHistory();
    PowerHistory(const PowerHistory&) = delete;
    PowerHistory& operator=(const PowerHistory&) = delete;

    // What the user is told about the store (empty when it opened as it should).
    const std::string& notice() const { return m_notice; }
    HistoryStore* store() { return m_store.get(); }

    // Told once per run when the history cannot be written, and at the end of a run that could
    // not write all its minutes.
    void onWriteFailure(HistoryRecorder::FailureNotifier notifier);
    // Called once for each limit crossed (the notification-area icon shows it).
    void setAlertNotifier(AlertNotifier notifier) { m_notifier = std::move(notifier); }
    // The limits changed in the registry.
    void reloadLimits();
    AlertLimits limits() const { return m_alerts.limits(); }

    // Records the refresh that just ran; called by the monitor after each one, and once by hand
    // for the refresh that ran before the history began (the monitor's first, at its start).
    void recordRefresh();
    // The latest refresh's read-outs; empty before the first refresh.
    const std::optional<PowerSample>& latest() const { return m_latest; }
    double savedKwh() const { return savedKilowattHours(m_measurement.values()); }

    // Writes the minute being collected (the run ends).
    void flush();

private:
    power::PowerMonitor& m_monitor;
    const power::PowerMeasurement& m_measurement;
    const power::PowerModeState& m_modes;
    platform::Registry& m_registry;
    Clock m_clock;
    Clock m_bootClock;
    HistoryRecorder::FailureNotifier m_onFailure;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<HistoryRecorder> m_recorder;
    std::string m_notice;
    AlertWatch m_alerts;
    AlertNotifier m_notifier;
    std::optional<PowerSample> m_latest;
};

} // namespace solvane::history
