#include "app/Report.h"

#include "power/PowerMonitor.h"

namespace solvane::app {

std::optional<power::PowerMode> reportModeOf(std::string_view name) {
    if (name == "default")
        return power::PowerMode::Default;
    if (name == "optimize")
        return power::PowerMode::Optimize;
    if (name == "max")
        return power::PowerMode::Max;
    return std::nullopt;
}

void runBeforeReport(SolvaneCore& core, platform::VirtualClockScheduler& clock,
                     std::optional<power::PowerMode> mode, int refreshes) {
    auto* monitor = core.session().monitor();
    if (mode && monitor != nullptr) {
        monitor->SelectMode(*mode);
        clock.advance(power::PowerMonitor::kApplyDelayMs);
    }
    clock.advance(std::uint64_t{power::PowerMonitor::kRefreshPeriodMs} *
                  static_cast<std::uint64_t>(refreshes));
}

std::string buildReport(SolvaneCore& core, ReportFormat format, hw::IoDriver* driver,
                        const history::HistoryStore* history, const DefaultModeTwin* twin) {
    const auto facts = gatherReport(core, driver, history, twin);
    return format == ReportFormat::Json ? reportJson(facts) : reportText(facts);
}

} // namespace solvane::app
