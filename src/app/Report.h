#pragma once

#include "app/DefaultModeTwin.h"
#include "app/ReportFacts.h"
#include "app/SolvaneCore.h"
#include "history/HistoryStore.h"
#include "platform/Scheduler.h"

#include <optional>
#include <string>
#include <string_view>

namespace solvane::app {

enum class ReportFormat { Text, Json };

// The program's report without a window: the identification, every setting with its option text,
// one refresh of the basic page's read-outs, the information pages, what the hardware back-end
// refused to write and, with a history, its last days. The core has been initialised; driver is
// the loaded I/O driver (null: none). On a simulated board the JSON report adds the board's own
// physics, and with a Default-mode twin what the board would draw in Default mode.
std::string buildReport(SolvaneCore& core, ReportFormat format, hw::IoDriver* driver = nullptr,
                        const history::HistoryStore* history = nullptr,
                        const DefaultModeTwin* twin = nullptr);

// The report's two writings: text for people (firmware and user texts made safe for a terminal),
// JSON for scripts.
std::string reportText(const ReportFacts& facts);
std::string reportJson(const ReportFacts& facts);

// The power mode a report option names ("default", "optimize", "max"); empty for none.
std::optional<power::PowerMode> reportModeOf(std::string_view name);

// Before the report: chooses the mode as the page's button would (applied 300 ms later) and lets
// `refreshes` refreshes run, 3 s apart, on the virtual clock.
void runBeforeReport(SolvaneCore& core, platform::VirtualClockScheduler& clock,
                     std::optional<power::PowerMode> mode, int refreshes);

} // namespace solvane::app
