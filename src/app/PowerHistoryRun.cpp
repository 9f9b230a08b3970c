#include "app/PowerHistoryRun.h"

#include "history/MetricsText.h"

#include <chrono>

namespace solvane::app {

std::int64_t systemSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

PowerHistoryRun::PowerHistoryRun(SolvaneCore& core, const std::filesystem::path& stateFolder,
                                 const std::string& metricsAddress, history::PowerHistory::Clock clock)
    : m_core(core) {
    auto& session = core.session();
    if (auto* monitor = session.monitor()) {
        m_history = std::make_unique<history::PowerHistory>(
            *monitor, session.measurement(), core.state().modes, core.services().registry,
            stateFolder / history::kHistoryFileName, std::move(clock));
        m_notice = m_history->notice();
        // The monitor's first refresh ran at its start.
        if (core.state().platform.BoardSupported || monitor->thisPc() != nullptr)
            m_history->recordRefresh();
    }
    if (metricsAddress.empty())
        return;
    const auto where = history::parseListenAddress(metricsAddress);
    std::string error = "option --metrics takes ADDRESS:PORT";
    if (where) {
        m_endpoint = std::make_unique<metrics::MetricsEndpoint>([this] { return metricsText(); });
        error.clear();
        m_metricsPort = m_endpoint->listen(*where, error);
    }
    if (!error.empty())
        m_notice += (m_notice.empty() ? "" : "\n") + ("The metrics endpoint is off: " + error + ".");
}

PowerHistoryRun::~PowerHistoryRun() = default;

std::string PowerHistoryRun::notMonitoredReason() const {
    const auto& platform = m_core.state().platform;
    if (platform.OsKind == power::OsFlavour::None)
        return "the system's version cannot be read from the settings, so the power-saving modules are not "
               "loaded";
    if (!m_history)
        return "the power-saving modules did not load";
    // An ordinary PC is monitored through its own read-outs.
    if (!platform.BoardSupported && m_core.session().monitor()->thisPc() == nullptr)
        return platform.BoardString.empty() ? "no supported board was found"
                                            : "the board " + platform.BoardString + " is not supported";
    return {};
}

std::string PowerHistoryRun::metricsText() const {
    const auto& board = m_core.state().platform.BoardString;
    if (const auto reason = notMonitoredReason(); !reason.empty())
        return history::notMonitoringText(reason, board);
    if (!m_history->latest())
        return history::notMonitoringText("no read-out yet", board);
    return history::metricsText(*m_history->latest(), m_history->savedKwh(), board) +
           history::limitMetricsText(m_history->limits(), board);
}

} // namespace solvane::app
