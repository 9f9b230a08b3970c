#pragma once

#include "app/JsonValue.h"
#include "sysinfo/MotherboardInfo.h"

#include <string>

namespace solvane::app {

// The motherboard information page's part of the report: each value under its caption, the two
// bridge rows and the Super I/O row. A field the page leaves untouched is null in JSON and left out
// of the text.
json::Object motherboardReportJson(const sysinfo::MotherboardInfo& info);
std::string motherboardReportText(const sysinfo::MotherboardInfo& info);

} // namespace solvane::app
