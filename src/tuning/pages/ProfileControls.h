#pragma once

#include "platform/Prompt.h"
#include "power/PowerModeState.h"
#include "tuning/ProfileNaming.h"
#include "tuning/ProfileStore.h"
#include "ui/CxSkinButton.h"

#include <QLineEdit>
#include <QRect>
#include <array>
#include <functional>

namespace solvane::tuning::pages {

// A skin button of the tuning pages with its caption drawn in the pages' caption colour.
ui::CxSkinButton* makeCaptionedButton(QWidget* page, int id, const QString& caption,
                                      const std::array<int, 4>& pictures,
                                      ui::CxSkinButton::Kind kind = ui::CxSkinButton::Kind::PushButton);

// The profile controls of a tuning page: Load (opens the profile menu), the two-click Save with its
// name edit, and Cancel; the profile menu on a right click; loading, deleting and saving through
// the page's profile store.
class ProfileControls {
public:
    struct Ids {
        int load;
        int save;
        int cancel;
        int nameEdit;
    };
    struct Places {
        QRect load;
        QRect save;
        QRect cancel;
        QRect nameEdit;
    };
    // afterLoad runs when a profile or the defaults are about to load (the page's caption refresh).
    ProfileControls(QWidget& page, ProfileStore& store, platform::Prompt& prompt,
                    const power::PowerModeState& modes, Ids ids, Places places,
                    std::function<void()> afterLoad);

    // The menu at a point of the screen (a right click on the page).
    void showMenu(QPoint screenPosition);
    void OnLoad();
    void OnSave();
    void OnCancel();
    void OnProfileCommand(int commandId);

    QLineEdit* nameEdit() const { return m_nameEdit; }

private:
    void applyNamingControls();

    QWidget& m_page;
    ProfileStore& m_store;
    platform::Prompt& m_prompt;
    const power::PowerModeState& m_modes;
    std::function<void()> m_afterLoad;
    ProfileNaming m_naming;
    ui::CxSkinButton* m_load = nullptr;
    ui::CxSkinButton* m_save = nullptr;
    ui::CxSkinButton* m_cancel = nullptr;
    QLineEdit* m_nameEdit = nullptr;
};

} // namespace solvane::tuning::pages
