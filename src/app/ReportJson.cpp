#include "app/JsonValue.h"
#include "app/MotherboardReport.h"
#include "app/Report.h"
#include "app/ThisPcReport.h"
#include "history/IsoTime.h"
#include "sysinfo/PciRowNames.h"

namespace solvane::app {

namespace {

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

// The board's own model, for scripts that hold the read-outs against it.
json::Object simulationFigures(const ReportFacts::Simulation& simulation) {
    const auto& state = simulation.physics;
    json::Object figures{{"cpuInputWatts", state.cpuWatts},
                         {"systemWatts", state.totalWatts()},
                         {"railWatts", json::Object{{"3.3V", state.rail33Watts()},
                                                    {"5V", state.rail5Watts()},
                                                    {"12V", state.board12Watts()}}},
                         {"activeCpuPhases", state.regulators[0].activePhases},
                         {"coreVolts", state.coreMillivolts / 1000.0},
                         {"cpuRegulatorEfficiency", state.regulators[0].efficiency()}};
    if (simulation.defaultModeTwin) {
        const auto& truth = *simulation.defaultModeTwin;
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

json::Array namesArray(const std::vector<std::string>& names) {
    json::Array array;
    for (const auto& name : names)
        array.append(name);
    return array;
}

json::Object profilesObject(const ReportFacts& facts) {
    json::Object motherboard;
    for (std::size_t store = 0; store < kModeProfileStores.size(); ++store)
        motherboard.insert(std::string(kModeProfileStores[store].name),
                           namesArray(facts.modeProfiles[store]));
    return {{"motherboard", motherboard}, {"led", namesArray(facts.ledProfiles)}};
}

json::Object fieldsObject(const std::vector<power::ReportField>& fields) {
    json::Object object;
    for (const auto& field : fields)
        object.insert(field.name, field.value);
    return object;
}

} // namespace

std::string reportJson(const ReportFacts& facts) {
    json::Object root;
    root.insert("identification", fieldsObject(facts.identification.identification));
    root.insert("defaultTargets", fieldsObject(facts.identification.defaultTargets));
    json::Array settingArray;
    for (const auto& setting : facts.settings)
        settingArray.append(
            json::Object{{"key", setting.key}, {"value", setting.value}, {"text", setting.text}});
    root.insert("settings", settingArray);
    root.insert("activeMode", facts.activeMode);
    json::Object ledObject;
    for (const auto& led : facts.ledCaptions)
        ledObject.insert(led.key, led.caption);
    root.insert("leds", ledObject);
    json::Object lampObject;
    for (const auto& lamp : facts.lamps)
        lampObject.insert(std::to_string(lamp.lampId), lamp.lit ? "lit" : "dark");
    root.insert("lamps", lampObject);
    if (facts.thisPc) {
        addThisPcReadouts(root, facts.thisPc->figures, facts.thisPc->values);
    } else {
        json::Object readoutObject;
        for (const auto& readout : facts.readouts)
            readoutObject.insert(readout.caption, readout.text);
        root.insert("readouts", readoutObject);
    }
    root.insert("pci", pciObject(facts.pciDevices, facts.pciFacts));
    root.insert("memory", memoryReportJson(facts.memory));
    root.insert("motherboard", motherboardReportJson(facts.motherboard));
    root.insert("profiles", profilesObject(facts));
    root.insert("refusedHardwareWrites", facts.refusedHardwareWrites);
    root.insert("history", historyObject(facts.historyDays));
    if (facts.simulation)
        root.insert("simulation", simulationFigures(*facts.simulation));
    return json::Value(root).dump();
}

} // namespace solvane::app
