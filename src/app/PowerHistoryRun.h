#pragma once

#include "app/SolvaneCore.h"
#include "history/PowerHistory.h"
#include "metrics/MetricsEndpoint.h"

#include <filesystem>
#include <memory>
#include <string>

namespace solvane::app {

// What a running monitor keeps beside its window (or without one): the power history in the state
// folder and, when asked for, the metrics endpoint. The core has been initialised.
class PowerHistoryRun {
public:
    PowerHistoryRun(SolvaneCore& core, const std::filesystem::path& stateFolder,
                    const std::string& metricsAddress, history::PowerHistory::Clock clock);
    ~PowerHistoryRun();

    // Messages for the user: the store's state, an endpoint that could not listen.
    const std::string& notice() const { return m_notice; }
    // Empty without a power-saving monitor.
    history::PowerHistory* history() { return m_history.get(); }
    quint16 metricsPort() const { return m_metricsPort; }

    // The metrics text now: the read-outs, or solvane_up 0 and why nothing is read.
    std::string metricsText() const;
    // Why this run monitors nothing (a board that is not supported, modules that did not load);
    // empty when it monitors the board.
    std::string notMonitoredReason() const;

private:
    SolvaneCore& m_core;
    std::unique_ptr<history::PowerHistory> m_history;
    std::unique_ptr<metrics::MetricsEndpoint> m_endpoint;
    quint16 m_metricsPort = 0;
    std::string m_notice;
};

// Seconds since 1970 by the system clock.
std::int64_t systemSeconds();

} // namespace solvane::app
