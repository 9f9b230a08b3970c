#pragma once

#include "app/JsonValue.h"
#include "app/SolvaneCore.h"
#include "sysinfo/MemoryInformation.h"

#include <string>

namespace solvane::app {

// The SMBus library as the memory page finds it: loaded by the power-saving page before it, or not.
sysinfo::SmbusLibrary smbusLibraryOf(SolvaneCore& core);
// The memory status and whole SPD images of the core's hardware back-end, for the memory page.
sysinfo::MemoryInformation::StatusSource memoryStatusOf(SolvaneCore& core);
sysinfo::MemoryInformation::SpdImageSource spdImagesOf(SolvaneCore& core);

// The memory page's part of the report, from an initialised page: every listed module as the page
// shows it when that module is chosen, and the memory status as the page shows it. A field the page
// leaves as it was is null in JSON and left out of the text.
json::Object memoryReportJson(const sysinfo::MemoryInformation& memory);
std::string memoryReportText(const sysinfo::MemoryInformation& memory);

} // namespace solvane::app
