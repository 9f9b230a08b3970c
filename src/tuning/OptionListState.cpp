#include "tuning/OptionListState.h"

namespace solvane::tuning {

OptionListState::Toggle OptionListState::toggle(int setting) {
    if (m_routines.popupOpenIndex == setting) {
        m_routines.popupOpenIndex = -1;
        return Toggle::Close;
    }
    m_routines.popupOpenIndex = setting;
    return Toggle::Open;
}

void OptionListState::opening(int setting) {
    m_routines.editIndex = setting;
    m_routines.rememberedValue = m_modes.CurrentValues[static_cast<std::size_t>(setting)];
}

void OptionListState::choose(power::SettingValue option) {
    const int setting = m_routines.popupOpenIndex;
    if (setting < 0 || setting >= static_cast<int>(power::kSettingSlots))
        return;
    m_routines.editIndex = setting;
    m_modes.CurrentValues[static_cast<std::size_t>(setting)] = option;
    m_commands.send(power::BoardCommand::CheckAndWrite);
    m_routines.popupOpenIndex = -1;
}

} // namespace solvane::tuning
