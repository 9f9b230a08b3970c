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
        if (core.state().platform.BoardSupported)
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

std::string PowerHistoryRun::metricsText() const {
    if (!m_history || !m_history->latest())
        return {};
    const auto& board = m_core.state().platform.BoardString;
    return history::metricsText(*m_history->latest(), m_history->savedKwh(), board) +
           history::limitMetricsText(m_history->limits(), board);
}

} // namespace solvane::app
