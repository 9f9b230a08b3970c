#pragma once

#include "app/JsonValue.h"
#include "sysinfo/MotherboardInfo.h"

#include <functional>
#include <string>
#include <string_view>

namespace solvane::app {

// The motherboard information page's part of the report: each value under its caption, the two
// bridge rows and the Super I/O row. A field the page leaves untouched is null in JSON and left out
// of the text, where shown() makes each firmware or driver text safe for a terminal.
json::Object motherboardReportJson(const sysinfo::MotherboardInfo& info);
std::string motherboardReportText(const sysinfo::MotherboardInfo& info,
                                  const std::function<std::string(std::string_view)>& shown);

} // namespace solvane::app
