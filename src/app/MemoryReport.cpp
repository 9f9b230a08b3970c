#include "app/MemoryReport.h"

#include "sysinfo/MemoryDialog.h"

#include <cstdio>

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

std::string hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%.4X", value);
    return text;
}

double nanoseconds(int picoseconds) {
    return picoseconds / 1000.0;
}

// What a DDR4 or DDR5 module adds to the page's fields.
void addSpdDetails(json::Object& object, const sysinfo::SpdModuleDetails& module) {
    const auto optionalNumber = [](auto value) { return value != 0 ? json::Value(value) : json::Value(); };
    object.insert("Generation", module.generation);
    object.insert("ModuleForm", module.form.empty() ? json::Value() : json::Value(module.form));
    object.insert("SizeMegabytes", optionalNumber(module.sizeMegabytes));
    object.insert("Ranks", optionalNumber(module.ranks));
    object.insert("BusWidthBits", optionalNumber(module.busWidthBits));
    object.insert("EccBits", module.eccBits);
    object.insert("DeviceWidthBits", optionalNumber(module.deviceWidthBits));
    object.insert("DieCount", optionalNumber(module.dieCount));
    char date[16] = "";
    if (module.year && module.week)
        std::snprintf(date, sizeof date, "%d-W%.2d", *module.year, *module.week);
    object.insert("ManufacturingDate", date[0] != 0 ? json::Value(date) : json::Value());
    object.insert("SpeedGrade", module.speeds.empty() ? json::Value() : json::Value(module.speedGrade()));
    object.insert("SpeedMts",
                  module.speeds.empty() ? json::Value() : json::Value(module.speeds.front().speedMts));
    json::Array latencies;
    for (const int latency : module.casLatencies)
        latencies.append(latency);
    object.insert("CasLatencies", latencies);
    object.insert("TimesNs", json::Object{{"tCK", nanoseconds(module.times.tCK)},
                                          {"tAA", nanoseconds(module.times.tAA)},
                                          {"tRCD", nanoseconds(module.times.tRCD)},
                                          {"tRP", nanoseconds(module.times.tRP)},
                                          {"tRAS", nanoseconds(module.times.tRAS)},
                                          {"tRC", nanoseconds(module.times.tRC)}});
    if (module.speeds.empty()) {
        object.insert("ClocksAtTopSpeed", json::Value());
    } else {
        const auto& top = module.speeds.front();
        object.insert(
            "ClocksAtTopSpeed",
            json::Object{
                {"CL", top.cas}, {"tRCD", top.tRCD}, {"tRP", top.tRP}, {"tRAS", top.tRAS}, {"tRC", top.tRC}});
    }
    object.insert("Voltage", module.voltage.empty() ? json::Value() : json::Value(module.voltage));
    json::Array crcs;
    for (const auto& check : module.crcs)
        crcs.append(json::Object{{"bytes", check.bytes},
                                 {"stored", hex16(check.stored)},
                                 {"computed", hex16(check.computed)},
                                 {"ok", check.ok()}});
    object.insert("Crc", crcs);
    object.insert("Note", module.note.empty() ? json::Value() : json::Value(module.note));
}

json::Object moduleJson(std::string_view slot, const sysinfo::MemoryModuleTexts& module) {
    const auto fields = module.pageFields();
    const auto fieldText = [&](const std::string sysinfo::ModuleFieldTexts::*field) {
        return fields ? json::Value((*fields).*field) : json::Value();
    };
    json::Object object{
        {"slot", slot},
        {"MemoryType", module.memoryType},
        {"ModuleSize", fieldText(&sysinfo::ModuleFieldTexts::moduleSize)},
        {"WeekYear", fieldText(&sysinfo::ModuleFieldTexts::weekYear)},
        {"Manufacturer", fieldText(&sysinfo::ModuleFieldTexts::manufacturer)},
        {"PartNumber", fieldText(&sysinfo::ModuleFieldTexts::partNumber)},
        {"SerialNumber", fieldText(&sysinfo::ModuleFieldTexts::serialNumber)},
        {"TimingsTable", fields ? timingsJson(fields->timings) : json::Value()},
    };
    if (module.spd)
        addSpdDetails(object, *module.spd);
    return object;
}

// The lines a DDR4 or DDR5 module adds to the text report.
std::string spdDetailsText(const sysinfo::SpdModuleDetails& module) {
    std::string text;
    if (!module.speeds.empty()) {
        const auto& top = module.speeds.front();
        text += "    Speed: " + module.speedGrade() + ", CL" + std::to_string(top.cas) + "-" +
                std::to_string(top.tRCD) + "-" + std::to_string(top.tRP) + "-" + std::to_string(top.tRAS) +
                "\n";
    }
    for (const auto& check : module.crcs)
        text += "    CRC of bytes " + check.bytes + ": " +
                (check.ok()
                     ? "OK"
                     : "wrong (stored " + hex16(check.stored) + ", computed " + hex16(check.computed) + ")") +
                "\n";
    if (!module.note.empty())
        text += "    Note: " + module.note + "\n";
    return text;
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

sysinfo::MemoryInformation::StatusSource memoryStatusOf(SolvaneCore& core) {
    return [&hardware = core.hardware()] { return hardware.memoryStatus(); };
}

sysinfo::MemoryInformation::SpdImageSource spdImagesOf(SolvaneCore& core) {
    return [&hardware = core.hardware()](std::uint8_t address) { return hardware.spdImage(address); };
}

MemoryReportFacts gatherMemoryReport(const sysinfo::MemoryInformation& memory) {
    MemoryReportFacts facts;
    for (std::size_t i = 0; i < memory.modules().size(); ++i)
        facts.modules.push_back({std::string(memory.modules()[i].name), memory.decodeModule(i)});
    facts.totalPhysicalMemory = memory.field(ids::kTotalPhysicalMemory);
    facts.memoryLoad = memory.field(ids::kMemoryLoad);
    facts.noModulesReason = memory.noModulesReason();
    return facts;
}

json::Object memoryReportJson(const MemoryReportFacts& memory) {
    json::Array modules;
    for (const auto& module : memory.modules)
        modules.append(moduleJson(module.slot, module.texts));
    json::Object object{
        {"modules", modules},
        {"TotalPhysicalMemory", optionalText(memory.totalPhysicalMemory)},
        {"MemoryLoad", optionalText(memory.memoryLoad)},
    };
    if (!memory.noModulesReason.empty())
        object.insert("noModulesReason", memory.noModulesReason);
    return object;
}

std::string memoryReportText(const MemoryReportFacts& memory) {
    std::string text = "Memory modules:\n";
    if (memory.modules.empty())
        text += "  (none listed: " + memory.noModulesReason + ")\n";
    for (const auto& [slot, module] : memory.modules) {
        text +=
            "  " + slot + ": " + (module.memoryType.empty() ? "(unknown type)" : module.memoryType) + "\n";
        const auto fields = module.pageFields();
        if (!fields)
            continue;
        const auto& shown = *fields;
        text += "    Module Size: " + shown.moduleSize + "\n";
        text += "    Week / Year: " + shown.weekYear + "\n";
        text += "    Manufacturer: " + shown.manufacturer + "\n";
        text += "    Part Number: " + shown.partNumber + "\n";
        text += "    Serial Number: " + shown.serialNumber + "\n";
        if (module.spd)
            text += spdDetailsText(*module.spd);
        if (shown.timings.front())
            text += timingsText(shown.timings);
    }
    if (memory.totalPhysicalMemory && memory.memoryLoad)
        text += "  Total Physical Memory: " + *memory.totalPhysicalMemory +
                "\n  Memory Load: " + *memory.memoryLoad + "\n";
    else
        text += "  (the memory status is shown only when a module was found)\n";
    return text;
}

} // namespace solvane::app
