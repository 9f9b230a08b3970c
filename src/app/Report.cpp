#include "app/Report.h"

#include "app/JsonValue.h"
#include "app/MemoryReport.h"
#include "app/MotherboardReport.h"
#include "app/TextEscape.h"
#include "app/ThisPcReport.h"
#include "history/IsoTime.h"
#include "power/BasicPageReadouts.h"
#include "power/PhaseReadout.h"
#include "power/PlatformReport.h"
#include "power/PowerMonitor.h"
#include "sim/SimulatedHardware.h"
#include "sysinfo/NoDdr3Module.h"
#include "sysinfo/PciDeviceReport.h"
#include "sysinfo/PciRowNames.h"
#include "tuning/LedPageView.h"
#include "tuning/PciCardProbe.h"
#include "tuning/ProfileStore.h"

#include <cstdio>

namespace solvane::app {

using power::Setting;
using power::SettingGroup;

namespace {

struct SettingLine {
    std::string key;
    power::SettingValue value;
    std::string text;
};

std::string settingText(const power::PowerSavingState& state, std::size_t slot, power::SettingValue value) {
    if (value == power::kNotPresent)
        return "N/A.";
    const auto group = slot < power::kSettingCount ? power::SettingKeys[slot].group : SettingGroup::Led;
    switch (group) {
    case SettingGroup::Voltage:
    case SettingGroup::ReferenceVoltage: {
        const auto text = state.options.lists[slot].text(value);
        return text.empty() ? "option " + std::to_string(value) : std::string(text);
    }
    case SettingGroup::Phase: {
        const auto setting = static_cast<Setting>(slot);
        // Only the CPU regulator reports the phases it runs.
        return power::phaseReadout(
            value,
            power::shownPhaseCount(value, setting == Setting::CpuPhase ? state.routines.activeCpuPhases : 0));
    }
    case SettingGroup::Fan:
        return value == 1 ? "Enable" : value == 0 ? "Disable" : std::to_string(value);
    case SettingGroup::Led:
        break;
    }
    // An LED at 0 follows its function (AUTO); at 1 it is dark.
    return value == 0 ? "AUTO" : "OFF";
}

std::vector<SettingLine> settingLines(const power::PowerSavingState& state) {
    std::vector<SettingLine> lines;
    for (std::size_t slot = 0; slot < power::kSettingSlots; ++slot) {
        const auto value = state.modes.CurrentValues[slot];
        // The two LED switches of 2915 have no catalogue key; the LED page's table names them.
        const auto key = slot < power::kSettingCount ? power::SettingKeys[slot].key
                                                     : tuning::ledSwitchOf(static_cast<int>(slot))->key;
        lines.push_back({std::string(key), value, settingText(state, slot, value)});
    }
    return lines;
}

// Captions carry line breaks for the page; the report keeps one line per read-out.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

std::string_view modeName(power::PowerMode mode) {
    switch (mode) {
    case power::PowerMode::Default:
        return "Default Mode";
    case power::PowerMode::Optimize:
        return "Optimize Mode";
    case power::PowerMode::Max:
        return "Max Power Saving Mode";
    case power::PowerMode::None:
        break;
    }
    return "none";
}

// The PCI page: every listed function with the header values the page shows for it, and the
// platform facts of the enumeration.
json::Object pciObject(const std::vector<sysinfo::PciDeviceReport>& devices,
                       const sysinfo::PciPlatformFacts& facts) {
    json::Array deviceArray;
    for (const auto& device : devices) {
        json::Array listView;
        for (const auto& column : device.listView)
            listView.append(column);
        json::Object header;
        for (std::size_t index = 0; index < device.header.size(); ++index)
            header.insert(std::string(sysinfo::kPciHeaderNames[index]), device.header[index]);
        deviceArray.append(json::Object{{"row", device.row},
                                        {"nameSource", device.nameSource},
                                        {"listView", listView},
                                        {"header", header}});
    }
    const json::Object factObject{
        {"HostBridgeVendor", facts.HostBridgeVendor}, {"HostBridgeChip", facts.HostBridgeChip},
        {"IsaBridgeVendor", facts.IsaBridgeVendor},   {"IsaBridgeChip", facts.IsaBridgeChip},
        {"GraphicsChip", facts.GraphicsChip},         {"Ieee1394Bus", facts.Ieee1394Bus}};
    return json::Object{{"devices", deviceArray}, {"facts", factObject}};
}

std::string pciText(const std::vector<sysinfo::PciDeviceReport>& devices,
                    const sysinfo::PciPlatformFacts& facts) {
    std::string text = "\nPCI devices:\n";
    if (devices.empty())
        text += "  (none on buses 0 to 9)\n";
    for (const auto& device : devices) {
        text += "  " + device.row;
        if (device.nameSource == sysinfo::kNamedByIdList)
            text += " (named by the PCI ID list)";
        for (std::size_t index = 0; index < device.header.size(); ++index)
            text += (index == 0 ? " " : ", ") + std::string(sysinfo::kPciHeaderNames[index]) + " " +
                    device.header[index];
        text += "\n";
    }
    const auto maker = [](const std::string& vendor, const std::string& chip) {
        return vendor.empty() || chip.empty() ? vendor + chip : vendor + " " + chip;
    };
    text += "\nPCI platform facts:\n";
    text += "  Host bridge: " + maker(facts.HostBridgeVendor, facts.HostBridgeChip) + "\n";
    text += "  ISA bridge: " + maker(facts.IsaBridgeVendor, facts.IsaBridgeChip) + "\n";
    text += "  Graphics chip: " + facts.GraphicsChip + "\n";
    text += "  IEEE 1394 bus: " + std::to_string(facts.Ieee1394Bus) + "\n";
    return text;
}

// The LED page as it would draw itself: the shown switches' captions and the shown lamps.
struct LedPageReport {
    std::vector<tuning::LedSwitchCaption> captions;
    std::vector<tuning::LampPicture> lamps;
};

LedPageReport ledPageReport(SolvaneCore& core) {
    const auto& state = core.state();
    const auto plan =
        tuning::ledPagePlan(state.platform.BoardCode, state.platform.biosVersion, state.platform.CpuVendor);
    const bool pciCard = tuning::pciCardPresent(core.hardware().falwick(), core.pciScan().facts.Ieee1394Bus);
    return {tuning::shownLedCaptions(plan, state.modes), tuning::shownLampPictures(plan, state, pciCard)};
}

std::string_view lampText(int image) {
    return tuning::isLit(image) ? "lit" : "dark";
}

std::string ledPageText(const LedPageReport& leds) {
    std::string text = "\nLED page:\n";
    for (const auto& led : leds.captions)
        text += "  " + std::string(led.key) + ": " + std::string(led.caption) + "\n";
    text += "  Lamps:";
    for (const auto& lamp : leds.lamps)
        text += " " + std::to_string(lamp.lampId) + " " + std::string(lampText(lamp.image)) + ",";
    if (leds.lamps.empty())
        text += " (none)";
    else
        text.pop_back();
    return text + "\n";
}

// What the simulated board's own model says, for scripts that hold the read-outs against it.
json::Object simulationFigures(sim::SimulatedBoard& board, const DefaultModeTwin* twin) {
    const auto& state = board.physics();
    json::Object figures{{"cpuInputWatts", state.cpuWatts},
                         {"systemWatts", state.totalWatts()},
                         {"railWatts", json::Object{{"3.3V", state.rail33Watts()},
                                                    {"5V", state.rail5Watts()},
                                                    {"12V", state.board12Watts()}}},
                         {"activeCpuPhases", state.regulators[0].activePhases},
                         {"coreVolts", state.coreMillivolts / 1000.0},
                         {"cpuRegulatorEfficiency", state.regulators[0].efficiency()}};
    if (twin != nullptr) {
        const auto& truth = twin->figures();
        figures.insert("defaultModeSystemWatts", truth.defaultModeSystemWatts);
        figures.insert("savingWatts", truth.savingWatts);
        figures.insert("savedWattHours", truth.savedWattHours);
    }
    return figures;
}

json::Object historyObject(const std::vector<history::DayRow>& days) {
    json::Array dayArray;
    for (const auto& day : days)
        dayArray.append(json::Object{{"day", history::isoDate(day.day)},
                                     {"energyConsumedKwh", day.consumedKwh},
                                     {"energySavedKwh", day.savedKwh()}});
    return json::Object{{"days", dayArray}};
}

std::string historyText(const std::vector<history::DayRow>& days) {
    std::string text = "\nPower history (last " + std::to_string(kReportHistoryDays) + " days, UTC):\n";
    if (days.empty())
        text += "  (none yet)\n";
    for (const auto& day : days)
        text += "  " + history::isoDate(day.day) + ": consumed " + history::decimal(day.consumedKwh, 3) +
                " kWh, saved " + history::decimal(day.savedKwh(), 3) + " kWh\n";
    return text;
}

// The saved profiles: the motherboard profiles of each mode and the LED profiles, by name.
struct ProfileNamesByStore {
    std::string_view name;
    std::string_view key;
};
constexpr std::array<ProfileNamesByStore, 3> kModeProfileStores{{
    {"Default", power::kDefaultModeKey},
    {"Optimize", power::kOptimizeModeKey},
    {"Max", power::kMaxModeKey},
}};

json::Array namesArray(const std::vector<std::string>& names) {
    json::Array array;
    for (const auto& name : names)
        array.append(name);
    return array;
}

json::Object profilesObject(const platform::Registry& registry) {
    json::Object motherboard;
    for (const auto& store : kModeProfileStores)
        motherboard.insert(std::string(store.name),
                           namesArray(tuning::savedProfileNames(registry, store.key)));
    return {{"motherboard", motherboard},
            {"led", namesArray(tuning::savedProfileNames(registry, tuning::kLedProfileKey))}};
}

std::string profilesText(const platform::Registry& registry) {
    std::string text = "\nSaved profiles:\n";
    const auto line = [&](std::string_view store, const std::vector<std::string>& names) {
        text += "  " + std::string(store) + ":";
        for (const auto& name : names)
            text += " \"" + escapeControls(name) + "\"";
        text += names.empty() ? " (none)\n" : "\n";
    };
    for (const auto& store : kModeProfileStores)
        line(std::string(store.name) + " Mode", tuning::savedProfileNames(registry, store.key));
    line("LED", tuning::savedProfileNames(registry, tuning::kLedProfileKey));
    return text;
}

} // namespace

std::optional<power::PowerMode> reportModeOf(std::string_view name) {
    if (name == "default")
        return power::PowerMode::Default;
    if (name == "optimize")
        return power::PowerMode::Optimize;
    if (name == "max")
        return power::PowerMode::Max;
    return std::nullopt;
}

void runBeforeReport(SolvaneCore& core, platform::VirtualClockScheduler& clock,
                     std::optional<power::PowerMode> mode, int refreshes) {
    auto* monitor = core.session().monitor();
    if (mode && monitor != nullptr) {
        monitor->SelectMode(*mode);
        clock.advance(power::PowerMonitor::kApplyDelayMs);
    }
    clock.advance(std::uint64_t{power::PowerMonitor::kRefreshPeriodMs} *
                  static_cast<std::uint64_t>(refreshes));
}

std::string buildReport(SolvaneCore& core, ReportFormat format, hw::IoDriver* driver,
                        const history::HistoryStore* history, const DefaultModeTwin* twin) {
    const auto& state = core.state();
    const auto identification =
        power::makePlatformReport(state.platform, state.options, state.modes.DefaultTargets);
    const auto settings = settingLines(state);
    std::vector<power::BasicReadout> readouts;
    const power::ThisPcFigures* thisPc = nullptr;
    if (const auto* monitor = core.session().monitor()) {
        readouts = power::basicPageReadouts(state, *monitor);
        thisPc = monitor->thisPc();
    }
    const auto& pciScan = core.pciScan();
    const auto pciDevices = sysinfo::pciDeviceReports(pciScan, core.hardware().falwick());
    sysinfo::MemoryInformation memory(core.hardware().hoblin(), smbusLibraryOf(core), memoryStatusOf(core),
                                      spdImagesOf(core));
    memory.initialise();
    const auto motherboard = core.gatherMotherboardInfo(
        driver, sysinfo::noDdr3Module(state.platform.BoardCode, core.hardware().hoblin()));
    const auto refused = core.hardware().refusedWrites();
    const auto days =
        history != nullptr ? history->lastDays(kReportHistoryDays) : std::vector<history::DayRow>{};
    const auto leds = ledPageReport(core);

    if (format == ReportFormat::Json) {
        json::Object root;
        json::Object board;
        for (const auto& field : identification.identification)
            board.insert(field.name, field.value);
        root.insert("identification", board);
        json::Object defaults;
        for (const auto& field : identification.defaultTargets)
            defaults.insert(field.name, field.value);
        root.insert("defaultTargets", defaults);
        json::Array settingArray;
        for (const auto& line : settings)
            settingArray.append(json::Object{{"key", line.key}, {"value", line.value}, {"text", line.text}});
        root.insert("settings", settingArray);
        root.insert("activeMode", modeName(state.modes.ActiveMode));
        json::Object ledObject;
        for (const auto& led : leds.captions)
            ledObject.insert(std::string(led.key), led.caption);
        root.insert("leds", ledObject);
        json::Object lampObject;
        for (const auto& lamp : leds.lamps)
            lampObject.insert(std::to_string(lamp.lampId), lampText(lamp.image));
        root.insert("lamps", lampObject);
        if (thisPc != nullptr) {
            addThisPcReadouts(root, *thisPc, core.session().measurement().values());
        } else {
            json::Object readoutObject;
            for (const auto& readout : readouts)
                readoutObject.insert(oneLine(readout.caption), readout.text);
            root.insert("readouts", readoutObject);
        }
        root.insert("pci", pciObject(pciDevices, pciScan.facts));
        root.insert("memory", memoryReportJson(memory));
        root.insert("motherboard", motherboardReportJson(motherboard));
        root.insert("profiles", profilesObject(core.services().registry));
        root.insert("refusedHardwareWrites", refused);
        root.insert("history", historyObject(days));
        if (auto* simulated = dynamic_cast<sim::SimulatedHardware*>(&core.hardware()))
            root.insert("simulation", simulationFigures(simulated->board(), twin));
        return json::Value(root).dump();
    }

    auto shown = identification;
    for (auto* fields : {&shown.identification, &shown.defaultTargets})
        for (auto& field : *fields)
            field.value = escapeControls(field.value);
    std::string text = power::formatPlatformReport(shown);
    text += "\nSettings:\n";
    for (const auto& line : settings)
        text += "  " + line.key + ": " + std::to_string(line.value) + " (" + line.text + ")\n";
    text += "\nActive mode: " + std::string(modeName(state.modes.ActiveMode)) + "\n";
    text += ledPageText(leds);
    text += "\nRead-outs:\n";
    if (thisPc != nullptr)
        text += thisPcReadoutsText(*thisPc, core.session().measurement().values());
    else if (readouts.empty())
        text += "  (the power-saving monitor is not running on this machine)\n";
    else if (!state.platform.BoardSupported)
        text += "  (not a supported Tarvok board: the power-saving monitor shows nothing)\n";
    else
        for (const auto& readout : readouts)
            text += "  " + oneLine(readout.caption) + ": " + escapeControls(readout.text) + "\n";
    text += pciText(pciDevices, pciScan.facts);
    text += "\n" + memoryReportText(memory);
    text += "\n" + motherboardReportText(motherboard, escapeControls);
    text += profilesText(core.services().registry);
    if (refused > 0)
        text += "\nHardware writes refused: " + std::to_string(refused) + "\n";
    text += historyText(days);
    return text;
}

} // namespace solvane::app
