#include "app/MemoryReport.h"

#include "sysinfo/MemoryDialog.h"

namespace solvane::app {

namespace {

namespace ids = sysinfo::memory_dialog;

json::Value optionalText(const std::optional<std::string>& text) {
    return text ? json::Value(*text) : json::Value();
}

json::Value timingsJson(const sysinfo::TimingsTable& table) {
    json::Object rows;
    for (std::size_t row = 0; row < sysinfo::kTimingRows; ++row) {
        json::Array columns;
        for (const auto& column : table)
            columns.append(column ? json::Value((*column)[row]) : json::Value());
        rows.insert(std::string(ids::kTimingCaptions[row]), columns);
    }
    return rows;
}

json::Object moduleJson(std::string_view slot, const sysinfo::MemoryModuleTexts& module) {
    const auto* ddr3 = module.ddr3 ? &*module.ddr3 : nullptr;
    const auto ddr3Text = [&](const std::string sysinfo::Ddr3ModuleTexts::*field) {
        return ddr3 ? json::Value(ddr3->*field) : json::Value();
    };
    return json::Object{
        {"slot", slot},
        {"MemoryType", module.memoryType},
        {"ModuleSize", ddr3Text(&sysinfo::Ddr3ModuleTexts::moduleSize)},
        {"WeekYear", ddr3Text(&sysinfo::Ddr3ModuleTexts::weekYear)},
        {"Manufacturer", ddr3Text(&sysinfo::Ddr3ModuleTexts::manufacturer)},
        {"PartNumber", ddr3Text(&sysinfo::Ddr3ModuleTexts::partNumber)},
        {"SerialNumber", ddr3Text(&sysinfo::Ddr3ModuleTexts::serialNumber)},
        {"TimingsTable", ddr3 ? timingsJson(ddr3->timings) : json::Value()},
    };
}

std::string timingsText(const sysinfo::TimingsTable& table) {
    std::string text = "    Timings Table:\n";
    for (std::size_t row = 0; row < sysinfo::kTimingRows; ++row) {
        text += "      " + std::string(ids::kTimingCaptions[row]) + ":";
        std::string_view separator = " ";
        for (const auto& column : table)
            if (column) {
                text += std::string(separator) + (*column)[row];
                separator = " | ";
            }
        text += "\n";
    }
    return text;
}

} // namespace

sysinfo::SmbusLibrary smbusLibraryOf(SolvaneCore& core) {
    return core.session().smbusLibraryLoaded() ? sysinfo::SmbusLibrary::Loaded
                                               : sysinfo::SmbusLibrary::NotLoaded;
}

json::Object memoryReportJson(const sysinfo::MemoryInformation& memory) {
    json::Array modules;
    for (std::size_t i = 0; i < memory.modules().size(); ++i)
        modules.append(moduleJson(memory.modules()[i].name, memory.decodeModule(i)));
    json::Object object{
        {"modules", modules},
        {"TotalPhysicalMemory", optionalText(memory.field(ids::kTotalPhysicalMemory))},
        {"MemoryLoad", optionalText(memory.field(ids::kMemoryLoad))},
    };
    if (!memory.noModulesReason().empty())
        object.insert("noModulesReason", memory.noModulesReason());
    return object;
}

std::string memoryReportText(const sysinfo::MemoryInformation& memory) {
    std::string text = "Memory modules:\n";
    if (memory.modules().empty())
        text += "  (none listed: " + std::string(memory.noModulesReason()) + ")\n";
    for (std::size_t i = 0; i < memory.modules().size(); ++i) {
        const auto module = memory.decodeModule(i);
        text += "  " + std::string(memory.modules()[i].name) + ": " +
                (module.memoryType.empty() ? "(unknown type)" : module.memoryType) + "\n";
        if (!module.ddr3)
            continue;
        const auto& ddr3 = *module.ddr3;
        text += "    Module Size: " + ddr3.moduleSize + "\n";
        text += "    Week / Year: " + ddr3.weekYear + "\n";
        text += "    Manufacturer: " + ddr3.manufacturer + "\n";
        text += "    Part Number: " + ddr3.partNumber + "\n";
        text += "    Serial Number: " + ddr3.serialNumber + "\n";
        if (ddr3.timings.front())
            text += timingsText(ddr3.timings);
    }
    const auto total = memory.field(ids::kTotalPhysicalMemory);
    const auto load = memory.field(ids::kMemoryLoad);
    if (total && load)
        text += "  Total Physical Memory: " + *total + "\n  Memory Load: " + *load + "\n";
    else
        text += "  (the memory status is shown only when a module was found)\n";
    return text;
}

} // namespace solvane::app
