#pragma once

#include "app/SolvaneCore.h"

#include <string>

namespace solvane::app {

enum class ReportFormat { Text, Json };

// The program's report without a window: the identification, every setting with its option text,
// one refresh of the basic page's read-outs, and what the hardware back-end refused to write.
// The core has been initialised.
std::string buildReport(SolvaneCore& core, ReportFormat format);

} // namespace solvane::app
