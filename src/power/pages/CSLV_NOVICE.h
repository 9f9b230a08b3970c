#pragma once

#include "power/BasicPageIds.h"
#include "power/PowerSavingSession.h"
#include "power/ThisPcPage.h"
#include "ui/CLabel.h"
#include "ui/CxSkinButton.h"
#include "ui/TStackedPage.h"

#include <QLabel>
#include <array>
#include <functional>
#include <map>
#include <optional>

namespace solvane::power::pages {

// The basic-mode page: the live power read-outs in three panels, the three power modes as skinned
// radio buttons and a right-click menu. It starts the power-saving monitor when it is created and
// runs its exit sequence when it goes.
class CSLV_NOVICE final : public ui::TStackedPage {
    Q_OBJECT
public:
    static constexpr int kDialogId = basic_ids::kDialog;

    CSLV_NOVICE(PowerSavingSession& session, PowerSavingState& state, platform::Scheduler& scheduler,
                QWidget* parent = nullptr);

    // A power event of the system (suspend 4, resume 18).
    bool OnPowerBroadcast(int event);
    // The text a value label shows now (for tests and the report).
    QString readoutText(int valueId) const;
    ui::CxSkinButton* modeButton(PowerMode mode) const;
    // The mode menu's command: checks the radio, then selects the mode.
    void onMenuCommand(int commandId);
    // The menu's added item that opens the power history window (shown once this is set).
    void setPowerHistoryCommand(std::function<void()> open) { m_openPowerHistory = std::move(open); }

protected:
    void OnInitDialog() override;
    void OnDestroy() override;
    void mousePressEvent(QMouseEvent* event) override;
    // Out of sight (another page, the window minimised or put away) the read-outs are not set;
    // they are set afresh the moment the page shows again.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void applyBoardLayout();
    // What the page shows on an ordinary PC; empty on a supported board.
    std::optional<ThisPcPage> thisPcPage() const;
    void showThisPcTitles(const ThisPcPage& page);
    void showReadouts();
    void updateModeButtons();
    void showMessage(std::string_view text);
    bool modeAvailable(PowerMode mode) const;
    void selectMode(PowerMode mode);

    PowerSavingSession& m_session;
    PowerSavingState& m_state;
    platform::Scheduler& m_scheduler;
    std::map<int, ui::CLabel*> m_values; // by value id
    std::map<int, QLabel*> m_captions;   // by value id
    std::array<ui::CxSkinButton*, 3> m_modeButtons{};
    QLabel* m_message = nullptr;
    bool m_buttonsShown = false; // the mode buttons have shown a state once
    bool m_outOfSight = false;   // hidden since it was last shown
    std::function<void()> m_openPowerHistory;
};

} // namespace solvane::power::pages
