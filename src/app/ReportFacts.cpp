#include "app/ReportFacts.h"

#include "power/PhaseReadout.h"
#include "power/PowerModeNames.h"
#include "power/PowerMonitor.h"
#include "sim/SimulatedHardware.h"
#include "sysinfo/NoDdr3Module.h"
#include "tuning/LedPageView.h"
#include "tuning/PciCardProbe.h"
#include "tuning/ProfileStore.h"

namespace solvane::app {

using power::Setting;
using power::SettingGroup;

namespace {

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

std::vector<ReportFacts::Setting> settingFacts(const power::PowerSavingState& state) {
    std::vector<ReportFacts::Setting> settings;
    for (std::size_t slot = 0; slot < power::kSettingSlots; ++slot) {
        const auto value = state.modes.CurrentValues[slot];
        // The two LED switches of 2915 have no catalogue key; the LED page's table names them.
        const auto key = slot < power::kSettingCount ? power::SettingKeys[slot].key
                                                     : tuning::ledSwitchOf(static_cast<int>(slot))->key;
        settings.push_back({std::string(key), value, settingText(state, slot, value)});
    }
    return settings;
}

// Captions carry line breaks for the page; the report keeps one line per read-out.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

std::string_view modeName(power::PowerMode mode) {
    const auto title = power::modeTitle(mode);
    return title.empty() ? "none" : title;
}

// The LED page as it would draw itself: the shown switches' captions and the shown lamps.
void gatherLedPage(SolvaneCore& core, ReportFacts& facts) {
    const auto& state = core.state();
    const auto plan =
        tuning::ledPagePlan(state.platform.BoardCode, state.platform.biosVersion, state.platform.CpuVendor);
    const bool pciCard = tuning::pciCardPresent(core.hardware().falwick(), core.pciScan().facts.Ieee1394Bus);
    for (const auto& led : tuning::shownLedCaptions(plan, state.modes))
        facts.ledCaptions.push_back({std::string(led.key), std::string(led.caption)});
    for (const auto& lamp : tuning::shownLampPictures(plan, state, pciCard))
        facts.lamps.push_back({lamp.lampId, tuning::isLit(lamp.image)});
}

} // namespace

ReportFacts gatherReport(SolvaneCore& core, hw::IoDriver* driver, const history::HistoryStore* history,
                         const DefaultModeTwin* twin) {
    const auto& state = core.state();
    ReportFacts facts;
    facts.identification =
        power::makePlatformReport(state.platform, state.options, state.modes.DefaultTargets);
    facts.settings = settingFacts(state);
    facts.activeMode = modeName(state.modes.ActiveMode);
    if (const auto* monitor = core.session().monitor()) {
        facts.readouts = power::basicPageReadouts(state, *monitor);
        for (auto& readout : facts.readouts)
            readout.caption = oneLine(std::move(readout.caption));
        if (const auto* thisPc = monitor->thisPc())
            facts.thisPc = ReportFacts::ThisPc{*thisPc, core.session().measurement().values()};
    }
    facts.boardSupported = state.platform.BoardSupported;
    const auto& pciScan = core.pciScan();
    facts.pciDevices = sysinfo::pciDeviceReports(pciScan, core.hardware().falwick());
    facts.pciFacts = pciScan.facts;
    sysinfo::MemoryInformation memory(core.hardware().hoblin(), smbusLibraryOf(core), memoryStatusOf(core),
                                      spdImagesOf(core));
    memory.initialise();
    facts.memory = gatherMemoryReport(memory);
    facts.motherboard = core.gatherMotherboardInfo(
        driver, sysinfo::noDdr3Module(state.platform.BoardCode, core.hardware().hoblin()));
    const auto& registry = core.services().registry;
    for (std::size_t store = 0; store < kModeProfileStores.size(); ++store)
        facts.modeProfiles[store] = tuning::savedProfileNames(registry, kModeProfileStores[store].key);
    facts.ledProfiles = tuning::savedProfileNames(registry, tuning::kLedProfileKey);
    facts.refusedHardwareWrites = core.hardware().refusedWrites();
    if (history != nullptr)
        facts.historyDays = history->lastDays(kReportHistoryDays);
    gatherLedPage(core, facts);
    if (auto* simulated = dynamic_cast<sim::SimulatedHardware*>(&core.hardware())) {
        facts.simulation = ReportFacts::Simulation{simulated->board().physics(), std::nullopt};
        if (twin != nullptr)
            facts.simulation->defaultModeTwin = twin->figures();
    }
    return facts;
}

} // namespace solvane::app
