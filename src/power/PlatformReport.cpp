#include "power/PlatformReport.h"

#include "power/BoardTable.h"

namespace solvane::power {

namespace {

std::string yesNo(bool value) {
    return value ? "yes" : "no";
}

// A slot's name for people: its catalogue key, or for the two extra LED switches of 2915 the label
// the LED page gives them.
std::string_view slotName(std::size_t slot) {
    if (slot < kSettingCount)
        return SettingKeys[slot].key;
    return slot == kCpuLoadLineLedSlot ? "CPU Load Line" : "HD LED";
}

std::string targetText(Setting setting, SettingValue value, const BoardOptions& options) {
    auto text = std::to_string(value);
    const auto option = options[setting].text(value);
    if (!option.empty())
        text += " (" + std::string(option) + ")";
    return text;
}

void appendLines(std::string& text, const std::vector<ReportField>& fields, std::string_view indent) {
    for (const auto& field : fields)
        text.append(indent).append(field.name).append(": ").append(field.value).append("\n");
}

} // namespace

PlatformReport makePlatformReport(const PlatformInfo& platform, const BoardOptions& options,
                                  const SettingVector& defaultTargets) {
    PlatformReport report;
    report.identification = {
        {"Board string", platform.BoardString},
        {"Board code", std::to_string(platform.BoardCode)},
        {"Board model prefix", platform.BoardModelPrefix},
        {"BIOS vendor", platform.biosVendor},
        {"BIOS version", platform.biosVersion},
        {"BIOS release date", platform.biosReleaseDate},
        {"Baseboard manufacturer", platform.baseboardManufacturer},
        {"Baseboard version", platform.baseboardVersion},
        {"Baseboard serial number", platform.baseboardSerialNumber},
        {"Processor ID", platform.processorId},
        {"Processor version", platform.processorVersion},
        {"External clock", platform.externalClock},
        {"CPU vendor", std::string(platform.CpuVendor)},
        {"OsKind", std::to_string(static_cast<int>(platform.OsKind))},
        {"BoardSupported", yesNo(platform.BoardSupported)},
        {"TestPlatform", yesNo(platform.TestPlatform)},
        {"SensorKind", std::to_string(platform.SensorKind)},
        {"MaxCpuPhases", std::to_string(platform.MaxCpuPhases)},
        {"FanCapable", yesNo(platform.FanCapable)},
    };
    for (std::size_t index = 0; index < kSettingSlots; ++index) {
        const auto setting = static_cast<Setting>(index);
        if (defaultTargets[index] != kNotPresent)
            report.defaultTargets.push_back(
                {std::string(slotName(index)), targetText(setting, defaultTargets[index], options)});
    }
    return report;
}

std::string formatPlatformReport(const PlatformReport& report) {
    std::string text;
    appendLines(text, report.identification, "");
    text += "Default targets:";
    text += report.defaultTargets.empty() ? " none\n" : "\n";
    appendLines(text, report.defaultTargets, "  ");
    return text;
}

} // namespace solvane::power
