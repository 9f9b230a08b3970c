#include "tuning/ProfileNaming.h"

namespace solvane::tuning {

ProfileNaming::SaveStep ProfileNaming::onSave() {
    if (m_naming) {
        m_naming = false;
        return SaveStep::CheckAndSave;
    }
    m_naming = true;
    m_editOpen = true;
    m_saveEnabled = false;
    return SaveStep::StartNaming;
}

void ProfileNaming::onTextChanged(bool nonEmpty) {
    if (m_naming && nonEmpty)
        m_saveEnabled = true;
}

void ProfileNaming::onRefused() {
    m_naming = true;
}

void ProfileNaming::finish() {
    m_naming = false;
    m_editOpen = false;
    m_saveEnabled = true;
}

ProfileNaming::Controls ProfileNaming::controls() const {
    return {.saveEnabled = m_saveEnabled,
            .loadEnabled = !m_editOpen,
            .editShown = m_editOpen,
            .cancelShown = m_editOpen};
}

} // namespace solvane::tuning
