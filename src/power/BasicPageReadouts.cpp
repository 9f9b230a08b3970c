#include "power/BasicPageReadouts.h"

#include "board/BoardSet.h"
#include "hw/SettingRegisterMap.h"
#include "power/BasicPagePlan.h"

#include <algorithm>

namespace solvane::power {

namespace {

// Read-outs a board does not have: the computed text is replaced by "N/A.".
struct NotAvailable {
    hw::BoardSet boards;
    std::array<int, 9> valueIds;
};

constexpr std::array<NotAvailable, 4> kNotAvailable{{
    {{2904, 2903}, {basic_ids::kCoreVoltage}},
    {{2906, 2904, 2903, 2905, 2902},
     {basic_ids::kRail33, basic_ids::kRail5, basic_ids::kRail12, basic_ids::kMemoryPhases,
      basic_ids::kIohPhases, basic_ids::kCpuSaving, basic_ids::kCurrentSaving, basic_ids::kTotalSaving,
      basic_ids::kSavingPercentage}},
    {{2906, 2904, 2903},
     {basic_ids::kCpuEfficiency, basic_ids::kIchVoltage, basic_ids::kIohVoltage, basic_ids::kMemoryVoltage}},
    // Boards that measure no CPU power: no consumption, no regulator saving and no efficiency to
    // show (their CPU hangs on the 12 V rail, so the total is still whole).
    {{2909, 2908, 2907, 2906, 2905, 2904, 2903, 2902, 2901},
     {basic_ids::kCpuConsumption, basic_ids::kCpuSaving, basic_ids::kCpuEfficiency}},
}};

constexpr hw::BoardSet kRenamedBridgeBoards{2902, 2905, 2901};

// The four totals along the top of the page; every other read-out is a row of a panel.
constexpr std::array<int, 4> kTotals{basic_ids::kTotalSaving, basic_ids::kCurrentSaving,
                                     basic_ids::kSavingPercentage, basic_ids::kTotalConsumption};

// A row the page hides shows nothing there, so its text elsewhere says it is not available rather
// than a figure nobody is shown (such as "0.0 %" for a regulator the board cannot measure).
bool hiddenRow(const BasicPagePlan& plan, int valueId) {
    if (std::find(kTotals.begin(), kTotals.end(), valueId) != kTotals.end())
        return false;
    return !plan.panels || plan.hiddenRows.contains(valueId);
}

bool notAvailable(int board, int valueId) {
    return std::any_of(kNotAvailable.begin(), kNotAvailable.end(), [&](const NotAvailable& rule) {
        return rule.boards.contains(board) &&
               std::find(rule.valueIds.begin(), rule.valueIds.end(), valueId) != rule.valueIds.end();
    });
}

std::string voltageText(const PowerSavingState& state, Setting setting) {
    const auto value = state.modes.CurrentValues[static_cast<std::size_t>(setting)];
    if (value == kNotPresent)
        return "N/A."; // the board lacks the setting
    // Without a register to write or read, the value is only what a mode asked for, not what the
    // board runs at.
    const int board = state.platform.BoardCode;
    if (!hw::hasWriteRow(board, setting) && !hw::hasReadBack(board, setting))
        return "N/A.";
    return std::string(state.options[setting].text(value));
}

std::string withoutTrailingBreak(std::string text) {
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

} // namespace

std::string_view basicReadoutCaption(int boardCode, const BasicReadoutControl& control) {
    if (kRenamedBridgeBoards.contains(boardCode) && control.captionId == basic_ids::kIchVoltageCaption)
        return "SB Voltage";
    if (kRenamedBridgeBoards.contains(boardCode) && control.captionId == basic_ids::kIohVoltageCaption)
        return "NB Voltage";
    return control.caption;
}

std::vector<BasicReadout> basicPageReadouts(const PowerSavingState& state, const PowerMonitor& monitor) {
    const auto& texts = monitor.readouts();
    const auto& phases = monitor.phaseReadouts();
    const int board = state.platform.BoardCode;
    const auto plan = basicPagePlan(board);
    const auto textOf = [&](int valueId) -> std::string {
        switch (valueId) {
        case basic_ids::kTotalSaving:
            return texts.energySaved;
        case basic_ids::kCurrentSaving:
            return texts.currentSaving;
        case basic_ids::kSavingPercentage:
            return texts.savingPercentage;
        case basic_ids::kTotalConsumption:
            return texts.totalConsumption;
        case basic_ids::kCpuConsumption:
            return withoutTrailingBreak(texts.cpuConsumption);
        case basic_ids::kCpuSaving:
            return withoutTrailingBreak(texts.cpuSaving);
        case basic_ids::kCpuEfficiency:
            return texts.efficiency;
        case basic_ids::kCoreVoltage:
            return texts.coreVoltage;
        case basic_ids::kCpuTemperature:
            return texts.cpuTemperature;
        case basic_ids::kFanSpeed:
            return texts.fanSpeed;
        case basic_ids::kCpuPhases:
            return phases.cpu;
        case basic_ids::kMemoryVoltage:
            return voltageText(state, Setting::DdrVoltage);
        case basic_ids::kMemoryPhases:
            return phases.memory;
        case basic_ids::kIohVoltage:
            return voltageText(state, Setting::MchVoltage);
        case basic_ids::kIohTemperature:
            return texts.boardTemperature;
        case basic_ids::kIohPhases:
            return phases.chipset;
        case basic_ids::kIchVoltage:
            return voltageText(state, Setting::IchVoltage);
        case basic_ids::kRail33:
            return texts.rail33;
        case basic_ids::kRail5:
            return texts.rail5;
        case basic_ids::kRail12:
            return texts.rail12;
        default:
            return {};
        }
    };
    std::vector<BasicReadout> readouts;
    const auto add = [&](const BasicReadoutControl& control) {
        readouts.push_back({control.valueId, std::string(basicReadoutCaption(board, control)),
                            notAvailable(board, control.valueId) || hiddenRow(plan, control.valueId)
                                ? "N/A."
                                : textOf(control.valueId)});
    };
    for (const auto& control : kBasicReadouts)
        add(control);
    readouts.push_back({basic_ids::kMessageLine, "Message", monitor.message()});
    return readouts;
}

} // namespace solvane::power
