#include "power/BasicPageReadouts.h"

#include "hw/BoardSet.h"

#include <algorithm>

namespace solvane::power {

namespace {

// Read-outs a board does not have: the computed text is replaced by "N/A.".
struct NotAvailable {
    hw::BoardSet boards;
    std::array<int, 9> valueIds;
};

constexpr std::array<NotAvailable, 4> kNotAvailable{{
    {{2904, 2903}, {1034}},
    {{2906, 2904, 2903, 2905, 2902}, {1049, 1050, 1051, 1038, 1041, 1054, 1056, 1057, 1035}},
    {{2906, 2904, 2903}, {1055, 1040, 1039, 1037}},
    // Boards that measure no CPU power: no consumption and no regulator saving to show (their CPU
    // hangs on the 12 V rail, so the total is still whole).
    {{2909, 2908, 2907, 2906, 2905, 2904, 2903, 2902, 2901}, {1053, 1054}},
}};

constexpr hw::BoardSet kRenamedBridgeBoards{2902, 2905, 2901};

bool notAvailable(int board, int valueId) {
    return std::any_of(kNotAvailable.begin(), kNotAvailable.end(), [&](const NotAvailable& rule) {
        return rule.boards.contains(board) &&
               std::find(rule.valueIds.begin(), rule.valueIds.end(), valueId) != rule.valueIds.end();
    });
}

std::string voltageText(const PowerSavingState& state, Setting setting) {
    const auto value = state.modes.CurrentValues[static_cast<std::size_t>(setting)];
    if (value == kNotPresent)
        return {};
    return std::string(state.options[setting].text(value));
}

std::string withoutTrailingBreak(std::string text) {
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

} // namespace

std::string_view basicReadoutCaption(int boardCode, const BasicReadoutControl& control) {
    if (kRenamedBridgeBoards.contains(boardCode) && control.captionId == 1154)
        return "SB Voltage";
    if (kRenamedBridgeBoards.contains(boardCode) && control.captionId == 1102)
        return "NB Voltage";
    return control.caption;
}

std::vector<BasicReadout> basicPageReadouts(const PowerSavingState& state, const PowerMonitor& monitor) {
    const auto& texts = monitor.readouts();
    const auto& phases = monitor.phaseReadouts();
    const int board = state.platform.BoardCode;
    const auto textOf = [&](int valueId) -> std::string {
        switch (valueId) {
        case 1057:
            return texts.energySaved;
        case 1056:
            return texts.currentSaving;
        case 1035:
            return texts.savingPercentage;
        case 1052:
            return texts.totalConsumption;
        case 1053:
            return withoutTrailingBreak(texts.cpuConsumption);
        case 1054:
            return withoutTrailingBreak(texts.cpuSaving);
        case 1055:
            return texts.efficiency;
        case 1034:
            return texts.coreVoltage;
        case 1042:
            return texts.cpuTemperature;
        case 1045:
            return texts.fanSpeed;
        case 1036:
            return phases.cpu;
        case 1037:
            return voltageText(state, Setting::DdrVoltage);
        case 1038:
            return phases.memory;
        case 1039:
            return voltageText(state, Setting::MchVoltage);
        case 1044:
            return texts.boardTemperature;
        case 1041:
            return phases.chipset;
        case 1040:
            return voltageText(state, Setting::IchVoltage);
        case 1049:
            return texts.rail33;
        case 1050:
            return texts.rail5;
        case 1051:
            return texts.rail12;
        default:
            return {};
        }
    };
    std::vector<BasicReadout> readouts;
    const auto add = [&](const BasicReadoutControl& control) {
        std::string caption(control.caption);
        if (kRenamedBridgeBoards.contains(board) && control.captionId == 1154)
            caption = "SB Voltage";
        if (kRenamedBridgeBoards.contains(board) && control.captionId == 1102)
            caption = "NB Voltage";
        readouts.push_back({control.valueId, caption,
                            notAvailable(board, control.valueId) ? "N/A." : textOf(control.valueId)});
    };
    for (const auto& control : kBasicReadouts)
        add(control);
    readouts.push_back({kMessageLineId, "Message", monitor.message()});
    return readouts;
}

} // namespace solvane::power
