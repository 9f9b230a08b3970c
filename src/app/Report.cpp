#include "app/Report.h"

#include "app/MemoryReport.h"
#include "power/BasicPageReadouts.h"
#include "power/PhaseReadout.h"
#include "power/PlatformReport.h"
#include "power/PowerMonitor.h"
#include "sim/SimulatedHardware.h"
#include "sysinfo/PciDeviceReport.h"
#include "tuning/ProfileStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace solvane::app {

using power::Setting;
using power::SettingGroup;

namespace {

// The two LED switches of 2915 that have no catalogue key.
constexpr std::array<std::string_view, 2> kExtraLedKeys{"CPU_LOAD_LINE_LED", "HD_LED"};

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
        const int levels = state.routines.levelCount(setting);
        return power::phaseReadout(
            value, setting == Setting::CpuPhase
                       ? power::activeCpuPhaseCount(value, levels, state.routines.activeCpuPhases)
                       : power::activePhaseCount(value, levels));
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
        const auto key = slot < power::kSettingCount ? power::SettingKeys[slot].key
                                                     : kExtraLedKeys[slot - power::kSettingCount];
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

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The PCI page: every listed function with the header values the page shows for it, and the
// platform facts of the enumeration.
QJsonObject pciObject(const std::vector<sysinfo::PciDeviceReport>& devices,
                      const sysinfo::PciPlatformFacts& facts) {
    QJsonArray deviceArray;
    for (const auto& device : devices) {
        QJsonArray listView;
        for (const auto& column : device.listView)
            listView.append(q(column));
        QJsonObject header;
        for (std::size_t index = 0; index < device.header.size(); ++index)
            header.insert(q(sysinfo::kPciHeaderNames[index]), q(device.header[index]));
        deviceArray.append(QJsonObject{{QStringLiteral("row"), q(device.row)},
                                       {QStringLiteral("listView"), listView},
                                       {QStringLiteral("header"), header}});
    }
    const QJsonObject factObject{{QStringLiteral("HostBridgeVendor"), q(facts.HostBridgeVendor)},
                                 {QStringLiteral("HostBridgeChip"), q(facts.HostBridgeChip)},
                                 {QStringLiteral("IsaBridgeVendor"), q(facts.IsaBridgeVendor)},
                                 {QStringLiteral("IsaBridgeChip"), q(facts.IsaBridgeChip)},
                                 {QStringLiteral("GraphicsChip"), q(facts.GraphicsChip)},
                                 {QStringLiteral("Ieee1394Bus"), facts.Ieee1394Bus}};
    return QJsonObject{{QStringLiteral("devices"), deviceArray}, {QStringLiteral("facts"), factObject}};
}

std::string pciText(const std::vector<sysinfo::PciDeviceReport>& devices,
                    const sysinfo::PciPlatformFacts& facts) {
    std::string text = "\nPCI devices:\n";
    if (devices.empty())
        text += "  (none on buses 0 to 9)\n";
    for (const auto& device : devices) {
        text += "  " + device.row;
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

// What the simulated board's own model says, for scripts that hold the read-outs against it.
QJsonObject simulationFigures(sim::SimulatedBoard& board) {
    const auto& state = board.physics();
    return {{QStringLiteral("cpuInputWatts"), state.cpuWatts},
            {QStringLiteral("systemWatts"), state.totalWatts()},
            {QStringLiteral("railWatts"), QJsonObject{{QStringLiteral("3.3V"), state.rail33Watts()},
                                                      {QStringLiteral("5V"), state.rail5Watts()},
                                                      {QStringLiteral("12V"), state.board12Watts()}}},
            {QStringLiteral("activeCpuPhases"), state.regulators[0].activePhases},
            {QStringLiteral("coreVolts"), state.coreMillivolts / 1000.0}};
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

QJsonArray namesArray(const std::vector<std::string>& names) {
    QJsonArray array;
    for (const auto& name : names)
        array.append(q(name));
    return array;
}

QJsonObject profilesObject(const platform::Registry& registry) {
    QJsonObject motherboard;
    for (const auto& store : kModeProfileStores)
        motherboard.insert(q(store.name), namesArray(tuning::savedProfileNames(registry, store.key)));
    return {{QStringLiteral("motherboard"), motherboard},
            {QStringLiteral("led"), namesArray(tuning::savedProfileNames(registry, tuning::kLedProfileKey))}};
}

std::string profilesText(const platform::Registry& registry) {
    std::string text = "\nSaved profiles:\n";
    const auto line = [&](std::string_view store, const std::vector<std::string>& names) {
        text += "  " + std::string(store) + ":";
        for (const auto& name : names)
            text += " \"" + name + "\"";
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

std::string buildReport(SolvaneCore& core, ReportFormat format) {
    const auto& state = core.state();
    const auto identification =
        power::makePlatformReport(state.platform, state.options, state.modes.DefaultTargets);
    const auto settings = settingLines(state);
    std::vector<power::BasicReadout> readouts;
    if (const auto* monitor = core.session().monitor())
        readouts = power::basicPageReadouts(state, *monitor);
    const auto& pciScan = core.pciScan();
    const auto pciDevices = sysinfo::pciDeviceReports(pciScan, core.hardware().falwick());
    sysinfo::MemoryInformation memory(core.hardware().hoblin(), smbusLibraryOf(core),
                                      [] { return platform::GlobalMemoryStatus(); });
    memory.initialise();
    const auto refused = core.hardware().refusedWrites();

    if (format == ReportFormat::Json) {
        QJsonObject root;
        QJsonObject board;
        for (const auto& field : identification.identification)
            board.insert(q(field.name), q(field.value));
        root.insert(QStringLiteral("identification"), board);
        QJsonObject defaults;
        for (const auto& field : identification.defaultTargets)
            defaults.insert(q(field.name), q(field.value));
        root.insert(QStringLiteral("defaultTargets"), defaults);
        QJsonArray settingArray;
        for (const auto& line : settings)
            settingArray.append(QJsonObject{{QStringLiteral("key"), q(line.key)},
                                            {QStringLiteral("value"), line.value},
                                            {QStringLiteral("text"), q(line.text)}});
        root.insert(QStringLiteral("settings"), settingArray);
        root.insert(QStringLiteral("activeMode"), q(modeName(state.modes.ActiveMode)));
        QJsonObject readoutObject;
        for (const auto& readout : readouts)
            readoutObject.insert(q(oneLine(readout.caption)), q(readout.text));
        root.insert(QStringLiteral("readouts"), readoutObject);
        root.insert(QStringLiteral("pci"), pciObject(pciDevices, pciScan.facts));
        root.insert(QStringLiteral("memory"), memoryReportJson(memory));
        root.insert(QStringLiteral("profiles"), profilesObject(core.services().registry));
        root.insert(QStringLiteral("refusedHardwareWrites"), static_cast<qint64>(refused));
        if (auto* simulated = dynamic_cast<sim::SimulatedHardware*>(&core.hardware()))
            root.insert(QStringLiteral("simulation"), simulationFigures(simulated->board()));
        return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
    }

    std::string text = power::formatPlatformReport(identification);
    text += "\nSettings:\n";
    for (const auto& line : settings)
        text += "  " + line.key + ": " + std::to_string(line.value) + " (" + line.text + ")\n";
    text += "\nActive mode: " + std::string(modeName(state.modes.ActiveMode)) + "\n";
    text += "\nRead-outs:\n";
    if (readouts.empty())
        text += "  (the power-saving monitor is not running on this machine)\n";
    else if (!state.platform.BoardSupported)
        text += "  (not a supported Tarvok board: the power-saving monitor shows nothing)\n";
    else
        for (const auto& readout : readouts)
            text += "  " + oneLine(readout.caption) + ": " + readout.text + "\n";
    text += pciText(pciDevices, pciScan.facts);
    text += "\n" + memoryReportText(memory);
    text += profilesText(core.services().registry);
    if (refused > 0)
        text += "\nHardware writes refused: " + std::to_string(refused) + "\n";
    return text;
}

} // namespace solvane::app
