#pragma once

#include "app/JsonValue.h"
#include "app/SolvaneCore.h"
#include "sysinfo/MemoryInformation.h"

#include <optional>
#include <string>
#include <vector>

namespace solvane::app {

// The SMBus library as the memory page finds it: loaded by the power-saving page before it, or not.
sysinfo::SmbusLibrary smbusLibraryOf(SolvaneCore& core);
// The memory status and whole SPD images of the core's hardware back-end, for the memory page.
sysinfo::MemoryInformation::StatusSource memoryStatusOf(SolvaneCore& core);
sysinfo::MemoryInformation::SpdImageSource spdImagesOf(SolvaneCore& core);

// The memory page's part of the report: every listed module as the page shows it when that module
// is chosen, and the memory status as the page shows it (none where the page leaves it as it was).
struct MemoryReportFacts {
    struct Module {
        std::string slot;
        sysinfo::MemoryModuleTexts texts;
    };
    std::vector<Module> modules;
    std::optional<std::string> totalPhysicalMemory;
    std::optional<std::string> memoryLoad;
    std::string noModulesReason; // empty when modules are listed
};

// Reads the facts from an initialised page.
MemoryReportFacts gatherMemoryReport(const sysinfo::MemoryInformation& memory);
// A field the page leaves as it was is null in JSON and left out of the text.
json::Object memoryReportJson(const MemoryReportFacts& memory);
std::string memoryReportText(const MemoryReportFacts& memory);

} // namespace solvane::app
