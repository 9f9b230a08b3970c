#pragma once

#include "app/CSampleApp.h"
#include "app/MainNavigation.h"
#include "app/SolvaneCore.h"
#include "app/TStackedDialog.h"
#include "ui/CMyAppTrayIcon.h"
#include "ui/CxSkinButton.h"
#include "ui/NotificationShell.h"
#include "ui/ShownPageTimers.h"
#include "ui/SkinLayout.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace solvane::power::pages {
class CSLV_NOVICE;
}
namespace solvane::history {
class PowerHistory;
namespace window {
class CPowerHistoryDlg;
}
} // namespace solvane::history
namespace solvane::tuning::pages {
class CList0;
class CSLV_ADVANCE_LED;
class CSLV_ADVANCE_MB;
} // namespace solvane::tuning::pages

namespace solvane::app {

// The main window: the skinned, shaped window that hosts the pages of the two groups (system
// information, and the power-saving and tuning pages), navigates between them with its skin
// buttons, and puts the program's icon in the notification area.
class CSampleDlg final : public TStackedDialog, public MainWindowHost {
    Q_OBJECT
public:
    // The tray menu's exit command.
    static constexpr int kExitCommand = 32887;
    // What the window's run gives when a snapshot picture could not be saved.
    static constexpr int kSnapshotsNotSaved = 2;
    // How the window comes up: on the screen, or (for a start with the session) as the
    // notification-area icon alone, shown by the icon's Solvane command or a double click.
    enum class StartShown { Window, NotificationArea };

    CSampleDlg(hw::IoDriver& driver, SolvaneCore& core, ui::NotificationShell& shell,
               std::filesystem::path snapshotFolder = {}, QWidget* parent = nullptr);
    ~CSampleDlg() override;

    // Runs the window until it closes, in an event loop of its own rather than as an
    // application-modal dialog: the notification-area icon and its menu stay usable meanwhile.
    int DoModal() override;
    // Without a notification area the window comes up minimised instead, so it can be reached.
    void setStartShown(StartShown start) { m_startShown = start; }

    // A window command: navigation buttons, window buttons, tray menu commands.
    void OnCommand(int commandId);
    const MainNavigation& navigation() const { return *m_navigation; }
    ui::CxSkinButton* skinButton(int controlId) const;
    power::pages::CSLV_NOVICE* basicPage() const { return m_basicPage; }
    tuning::pages::CSLV_ADVANCE_MB* advancedPage() const { return m_advancedPage; }
    tuning::pages::CSLV_ADVANCE_LED* ledPage() const { return m_ledPage; }
    tuning::pages::CList0* optionList() const { return m_optionPopup; }
    // The memory-type check of 2904 and 2907: true unless a DDR3 module answered.
    bool noDdr3() const { return m_noDdr3; }
    bool optionPopupVisible() const;
    // Starts the power history (returns it, or null without a monitor) once the basic page has
    // started the monitor. The history window opens from the tray menu and the basic page's menu;
    // limit crossings come as notifications of the tray icon.
    void setPowerHistoryStart(std::function<history::PowerHistory*()> start,
                              std::function<std::int64_t()> clock);
    void openPowerHistory();
    history::window::CPowerHistoryDlg* powerHistoryWindow() const { return m_historyWindow; }
    ui::CMyAppTrayIcon* trayIcon() const { return m_tray.get(); }
    // Shows each page in turn and saves a picture of the window for each into folder, then closes
    // (with kSnapshotsNotSaved when a picture could not be saved).
    void saveSnapshots(const std::filesystem::path& folder);

protected:
    std::unique_ptr<ui::TStackedPage> CreatePage(int pageId) override;
    void OnPageChanged(int pageId, bool active) override;
    void OnInitDialog() override;
    void OnDestroy() override;
    void mousePressEvent(QMouseEvent* event) override;
    // Escape does not close the main window: Exit and the tray menu's Exit are the ways out.
    void keyPressEvent(QKeyEvent* event) override;
    // Closing ends the run also while the window has not been shown yet (started in the
    // notification area), as a termination signal does.
    void closeEvent(QCloseEvent* event) override;
    // The option list stands beside its button: it closes when the window is minimised, hidden or
    // moved away from under it.
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    std::unique_ptr<ui::TStackedPage> makePage(int pageId);
    // The scheduler a page's timers run on while the page can be seen.
    platform::Scheduler& pageTimers(int pageId);
    void setPowerHistory(history::PowerHistory* history);
    void applyNavigation();
    void createSkinButtons();
    static void placeSkinButton(ui::CxSkinButton& button, const ui::skin::MainButton& layout);
    void checkMemoryType();
    void closeOptionPopup();
    void openWebSite();

    hw::IoDriver& m_driver;
    SolvaneCore& m_core;
    ui::NotificationShell& m_shell;
    std::filesystem::path m_snapshotFolder;
    std::unique_ptr<MainNavigation> m_navigation;
    std::map<int, ui::CxSkinButton*> m_buttons;
    std::map<int, std::unique_ptr<ui::ShownPageTimers>> m_pageTimers; // by page id
    std::unique_ptr<ui::CMyAppTrayIcon> m_tray;
    bool m_trayShown = false; // the desktop took the icon
    StartShown m_startShown = StartShown::Window;
    std::unique_ptr<class SleepWatcher> m_sleepWatcher;
    tuning::pages::CList0* m_optionPopup = nullptr;
    power::pages::CSLV_NOVICE* m_basicPage = nullptr;
    tuning::pages::CSLV_ADVANCE_MB* m_advancedPage = nullptr;
    tuning::pages::CSLV_ADVANCE_LED* m_ledPage = nullptr;
    bool m_noDdr3 = true;
    std::function<history::PowerHistory*()> m_startHistory;
    history::PowerHistory* m_history = nullptr;
    std::function<std::int64_t()> m_historyClock;
    history::window::CPowerHistoryDlg* m_historyWindow = nullptr;
};

} // namespace solvane::app
