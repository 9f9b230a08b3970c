#pragma once

#include "hw/BoardSettingRoutines.h"
#include "power/BoardCommands.h"
#include "power/PowerModeState.h"

#include <functional>

namespace solvane::power {

// Serves the setting commands with the board routines, taking each command's argument from where
// its sender stored it: the read-back request, the pending setting, the popup's edited setting.
class RoutineCommands final : public BoardCommands {
public:
    RoutineCommands(PowerModeState& modes, hw::SettingRoutineState& routineState,
                    hw::BoardSettingRoutines& routines);

    void send(BoardCommand command) override;
    // What closing the option popup means to whoever shows it.
    void setClosePopup(std::function<void()> closePopup) { m_closePopup = std::move(closePopup); }

private:
    PowerModeState& m_modes;
    hw::SettingRoutineState& m_routineState;
    hw::BoardSettingRoutines& m_routines;
    std::function<void()> m_closePopup;
};

} // namespace solvane::power
