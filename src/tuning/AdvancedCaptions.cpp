#include "tuning/AdvancedCaptions.h"

#include "board/BoardTraits.h"
#include "power/PhaseReadout.h"
#include "tuning/OptionListLines.h"

namespace solvane::tuning {

std::optional<std::string> rowCaption(const AdvancedRow& row, const power::PowerSavingState& state) {
    if (!rowHasSetting(row, state))
        return std::nullopt;
    const auto slot = static_cast<std::size_t>(row.setting);
    const auto value = state.modes.CurrentValues[slot];
    const int board = state.platform.BoardCode;
    switch (row.kind) {
    case ListKind::Voltage:
    case ListKind::Reference:
        return std::string(state.options.lists[slot].text(value));
    case ListKind::Phase:
        return power::phaseReadout(value, power::shownPhaseCount(value, 0));
    case ListKind::CpuPhase: {
        const int active = power::shownPhaseCount(value, state.routines.activeCpuPhases);
        const auto& traits = board::traitsOf(board);
        // A phase switch reads "Auto"/"Disable", except a switch whose value 0 still reads as a count.
        if (!traits.cpuPhaseIsSwitch || (traits.switchOffShowsPhases && value == 0))
            return power::phaseReadout(value, active);
        return power::phaseSwitchReadout(value);
    }
    case ListKind::Fan:
    case ListKind::LedSwitch:
        break;
    }
    return std::nullopt;
}

bool rowHasSetting(const AdvancedRow& row, const power::PowerSavingState& state) {
    return state.modes.DefaultTargets[static_cast<std::size_t>(row.setting)] != power::kNotPresent &&
           !optionListLines(row, state).empty();
}

AdvancedReadouts advancedReadouts(int boardCode, const power::Readouts& texts, int fanRpm) {
    AdvancedReadouts readouts{texts.energySaved, texts.totalConsumption, texts.currentSaving,
                              texts.savingPercentage, std::to_string(fanRpm) + " rpm"};
    // These boards' monitors measure no saving: the page shows "N/A." for the four figures.
    if (board::traitsOf(boardCode).temperatureBufferMonitor)
        readouts.totalSaving = readouts.totalConsumption = readouts.currentSaving =
            readouts.savingPercentage = "N/A.";
    return readouts;
}

} // namespace solvane::tuning
