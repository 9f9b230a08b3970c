#pragma once

#include "hw/SettingRoutineState.h"
#include "power/BoardCommands.h"
#include "power/PowerModeState.h"

namespace solvane::tuning {

// The one option list of the tuning pages, as the pages and the main window share it: which
// setting's list is open (-1 none) and the value that setting had when its list opened. The
// state itself lives with the board routines (their check restores the remembered value when a
// change is declined); both tuning pages go through this class.
class OptionListState {
public:
    OptionListState(hw::SettingRoutineState& routines, power::PowerModeState& modes,
                    power::BoardCommands& commands)
        : m_routines(routines), m_modes(modes), m_commands(commands) {}

    enum class Toggle { Open, Close };
    // A ">>" press: the list of that setting closes when it is open, else it opens (replacing the
    // list of another setting).
    Toggle toggle(int setting);
    // The list is being filled for setting: remember its value and make it the edited setting.
    void opening(int setting);
    // An entry was chosen: store the option as the open setting's value and have the main window
    // check and write it; then the list is closed.
    void choose(power::SettingValue option);
    void close() { m_routines.popupOpenIndex = -1; }

    int openIndex() const { return m_routines.popupOpenIndex; }
    bool isOpen() const { return m_routines.popupOpenIndex != -1; }
    power::SettingValue rememberedValue() const { return m_routines.rememberedValue; }

private:
    hw::SettingRoutineState& m_routines;
    power::PowerModeState& m_modes;
    power::BoardCommands& m_commands;
};

} // namespace solvane::tuning
