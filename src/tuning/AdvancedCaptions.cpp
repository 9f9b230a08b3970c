#include "tuning/AdvancedCaptions.h"

#include "power/PhaseReadout.h"

namespace solvane::tuning {

std::optional<std::string> rowCaption(const AdvancedRow& row, const power::PowerSavingState& state) {
    const auto slot = static_cast<std::size_t>(row.setting);
    if (state.modes.DefaultTargets[slot] == power::kNotPresent)
        return std::nullopt;
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
        if (!cpuPhaseIsSwitch(board) || (board == 2906 && value == 0))
            return power::phaseReadout(value, active);
        return power::phaseSwitchReadout(value);
    }
    case ListKind::Fan:
    case ListKind::LedSwitch:
        break;
    }
    return std::nullopt;
}

AdvancedReadouts advancedReadouts(int boardCode, const power::Readouts& texts, int fanRpm) {
    AdvancedReadouts readouts{texts.energySaved, texts.totalConsumption, texts.currentSaving,
                              texts.savingPercentage, std::to_string(fanRpm) + " rpm"};
    if (savingFiguresNotAvailable(boardCode))
        readouts.totalSaving = readouts.totalConsumption = readouts.currentSaving =
            readouts.savingPercentage = "N/A.";
    return readouts;
}

} // namespace solvane::tuning
