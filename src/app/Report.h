#pragma once

#include "app/SolvaneCore.h"

#include <string>

namespace solvane::app {

enum class ReportFormat { Text, Json };

// The program's report without a window: the identification, every setting with its option text,
// one refresh of the basic page's read-outs, the information pages, and what the hardware back-end
// refused to write. The core has been initialised; driver is the loaded I/O driver (null: none).
std::string buildReport(SolvaneCore& core, ReportFormat format, hw::IoDriver* driver = nullptr);

} // namespace solvane::app
