#include "app/MotherboardReport.h"
#include "app/Report.h"
#include "app/TextEscape.h"
#include "app/ThisPcReport.h"
#include "history/IsoTime.h"
#include "sysinfo/PciRowNames.h"

namespace solvane::app {

namespace {

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

std::string ledPageText(const ReportFacts& facts) {
    std::string text = "\nLED page:\n";
    for (const auto& led : facts.ledCaptions)
        text += "  " + led.key + ": " + led.caption + "\n";
    text += "  Lamps:";
    for (const auto& lamp : facts.lamps)
        text += " " + std::to_string(lamp.lampId) + (lamp.lit ? " lit," : " dark,");
    if (facts.lamps.empty())
        text += " (none)";
    else
        text.pop_back();
    return text + "\n";
}

std::string readoutsText(const ReportFacts& facts) {
    std::string text = "\nRead-outs:\n";
    if (facts.thisPc)
        text += thisPcReadoutsText(facts.thisPc->figures, facts.thisPc->values);
    else if (facts.readouts.empty())
        text += "  (the power-saving monitor is not running on this machine)\n";
    else if (!facts.boardSupported)
        text += "  (not a supported Tarvok board: the power-saving monitor shows nothing)\n";
    else
        for (const auto& readout : facts.readouts)
            text += "  " + readout.caption + ": " + escapeControls(readout.text) + "\n";
    return text;
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

std::string profilesText(const ReportFacts& facts) {
    std::string text = "\nSaved profiles:\n";
    const auto line = [&](std::string_view store, const std::vector<std::string>& names) {
        text += "  " + std::string(store) + ":";
        for (const auto& name : names)
            text += " \"" + escapeControls(name) + "\"";
        text += names.empty() ? " (none)\n" : "\n";
    };
    for (std::size_t store = 0; store < kModeProfileStores.size(); ++store)
        line(std::string(kModeProfileStores[store].name) + " Mode", facts.modeProfiles[store]);
    line("LED", facts.ledProfiles);
    return text;
}

} // namespace

std::string reportText(const ReportFacts& facts) {
    auto shown = facts.identification;
    for (auto* fields : {&shown.identification, &shown.defaultTargets})
        for (auto& field : *fields)
            field.value = escapeControls(field.value);
    std::string text = power::formatPlatformReport(shown);
    text += "\nSettings:\n";
    for (const auto& setting : facts.settings)
        text += "  " + setting.key + ": " + std::to_string(setting.value) + " (" + setting.text + ")\n";
    text += "\nActive mode: " + std::string(facts.activeMode) + "\n";
    text += ledPageText(facts);
    text += readoutsText(facts);
    text += pciText(facts.pciDevices, facts.pciFacts);
    text += "\n" + memoryReportText(facts.memory);
    text += "\n" + motherboardReportText(facts.motherboard, escapeControls);
    text += profilesText(facts);
    if (facts.refusedHardwareWrites > 0)
        text += "\nHardware writes refused: " + std::to_string(facts.refusedHardwareWrites) + "\n";
    text += historyText(facts.historyDays);
    return text;
}

} // namespace solvane::app
