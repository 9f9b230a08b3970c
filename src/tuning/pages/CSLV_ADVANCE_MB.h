#pragma once

#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "power/PowerSavingSession.h"
#include "tuning/AdvancedPagePlan.h"
#include "tuning/AdvancedPageTimers.h"
#include "tuning/OptionListState.h"
#include "tuning/ProfileStore.h"
#include "tuning/pages/PageOptionList.h"
#include "tuning/pages/ProfileControls.h"
#include "ui/CLabel.h"
#include "ui/CxSkinButton.h"
#include "ui/TStackedPage.h"

#include <QLabel>
#include <QLineEdit>
#include <array>
#include <memory>

namespace solvane::tuning::pages {

class CList0;

// The advanced motherboard page: the twenty setting rows with their ">>" buttons and the one
// option list, the three mode radios, the motherboard profiles, the power-saving read-outs and
// the fan speed. Which rows show, and how, depends on the board.
class CSLV_ADVANCE_MB final : public ui::TStackedPage {
    Q_OBJECT
public:
    struct Context {
        power::PowerSavingState& state;
        power::PowerSavingSession& session;
        power::BoardCommands& commands;
        platform::Registry& registry;
        platform::Prompt& prompt;
        platform::Scheduler& scheduler;
    };

    explicit CSLV_ADVANCE_MB(Context context, QWidget* parent = nullptr);
    ~CSLV_ADVANCE_MB() override;

    // The option list popup, which the main window creates after its pages.
    void SetOptionList(CList0* list);

    // A ">>" button of a row.
    void OnValueButton(int row);
    void OnModeRadio(power::PowerMode mode);
    void OnLoad();
    void OnSave();
    void OnCancel();
    // A command of the profile menu.
    void OnProfileCommand(int commandId);
    // The option list was closed from outside (the main window's background).
    void OnListClosed();

    ui::CxSkinButton* valueButton(int row) const { return m_rows[static_cast<std::size_t>(row)].button; }
    QLabel* rowLabel(int row) const { return m_rows[static_cast<std::size_t>(row)].label; }
    ui::CxSkinButton* modeRadio(power::PowerMode mode) const;
    QLineEdit* nameEdit() const { return m_profileControls->nameEdit(); }
    QString readoutText(int valueId) const;
    const AdvancedPageTimers& timers() const { return *m_timers; }
    const OptionListState& optionList() const { return m_list.state(); }
    ProfileStore& profiles() { return m_profiles; }

    // Shown: the radios and captions as they are now (the setting commands may have been enabled
    // since the page was created).
    void OnSetActive() override;

protected:
    void OnInitDialog() override;
    void OnDestroy() override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct RowControls {
        QLabel* label = nullptr;
        ui::CxSkinButton* button = nullptr;
    };

    void buildControls();
    void applyBoardLayout();
    void refreshReadouts();
    void refreshRadios();
    void refreshCaptions();
    void showList(int row);

    Context m_context;
    PageOptionList m_list;
    ProfileStore m_profiles;
    std::unique_ptr<ProfileControls> m_profileControls;
    std::unique_ptr<AdvancedPageTimers> m_timers;
    AdvancedPagePlan m_plan;
    std::array<RowControls, kAdvancedRowCount> m_rows{};
    std::array<ui::CxSkinButton*, 3> m_radios{};
    std::array<QLabel*, 4> m_readoutCaptions{};
    std::array<ui::CLabel*, 4> m_readoutValues{};
    std::array<QWidget*, 4> m_groupParts{}; // DDR and MCH/ICH/Fan group boxes and title pictures
};

} // namespace solvane::tuning::pages
