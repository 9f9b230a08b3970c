#include "power/RoutineCommands.h"

namespace solvane::power {

RoutineCommands::RoutineCommands(PowerModeState& modes, hw::SettingRoutineState& routineState,
                                 hw::BoardSettingRoutines& routines)
    : m_modes(modes), m_routineState(routineState), m_routines(routines) {}

void RoutineCommands::send(BoardCommand command) {
    switch (command) {
    case BoardCommand::ReadBack:
        m_routines.ReadBack(m_modes.ReadRequest);
        break;
    case BoardCommand::WriteSetting:
        m_routines.Apply(m_modes.PendingSettingIndex);
        break;
    case BoardCommand::CheckAndWrite:
        m_routines.CheckAndApply(m_routineState.editIndex);
        break;
    case BoardCommand::CloseOptionPopup:
        m_routineState.popupOpenIndex = -1;
        if (m_closePopup)
            m_closePopup();
        break;
    }
}

} // namespace solvane::power
