// The main window and the basic-mode page driven through their real widgets on a simulated board,
// with timers on a virtual clock.
#include "SimulatedCore.h"
#include "app/CAbout.h"
#include "app/CSampleDlg.h"
#include "power/BasicPageReadouts.h"
#include "power/ModeTargets.h"
#include "power/pages/CSLV_NOVICE.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/pages/MotherboardPageIds.h"
#include "sysinfo/pages/PciPageIds.h"
#include "tuning/pages/AdvancedPageIds.h"
#include "ui/CLabel.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/RecordingNotificationShell.h"
#include "ui/SkinLayout.h"
#include "ui/SkinResources.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using power::PowerMode;

void click(QWidget& widget) {
    const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
    const QPointF global = widget.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

// One simulated machine with the program's main window on it.
class MainWindowRig {
public:
    explicit MainWindowRig(int board, double load = 0.55)
        : devices(serviceTable), driver(parts.system, serviceTable, devices, sleeper),
          hardware(
              test::simulatedBoard({.board = board,
                                    .load = load,
                                    .seed = 3,
                                    .clock = [this] { return std::chrono::milliseconds(clock.now()); }})),
          core(std::make_unique<SolvaneCore>(parts.on(*hardware, 3))) {
        window = std::make_unique<CSampleDlg>(driver, *core, shell);
        window->InitDialog();
        window->show();
    }
    ~MainWindowRig() { window->DestroyWindow(); }

    power::pages::CSLV_NOVICE& basicPage() { return *window->basicPage(); }
    std::string registryText(std::string_view name) {
        return registry.readString(power::kProductKey, name).value_or("<missing>");
    }

    test::CoreServices parts;
    platform::MemoryRegistry& registry = parts.registry;
    platform::VirtualClockScheduler& clock = parts.clock;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices;
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    ui::RecordingNotificationShell shell;
    std::unique_ptr<SolvaneCore> core;
    std::unique_ptr<CSampleDlg> window;
};

TEST(MainWindow, ChoosingMaxWithTheMouseAppliesItAndTheSavingShows) {
    MainWindowRig rig(2917);
    rig.window->OnCommand(ui::main_window_ids::kProduct);
    ASSERT_TRUE(rig.basicPage().isVisible());
    // A minute of Default first: the saving is measured against what Default draws.
    click(*rig.basicPage().modeButton(PowerMode::Default));
    rig.clock.advance(60300);
    click(*rig.basicPage().modeButton(PowerMode::Max));
    EXPECT_TRUE(rig.basicPage().modeButton(PowerMode::Max)->GetCheck());
    rig.clock.advance(299);
    EXPECT_NE(rig.registryText("EnableSolvane"), "2") << "nothing before 300 ms";
    rig.clock.advance(1);
    EXPECT_EQ(rig.registryText("EnableSolvane"), "2");
    const auto& modes = rig.core->state().modes;
    EXPECT_EQ(rig.registry.readString(power::kMaxModeKey, "DefaultSetting"),
              power::formatDefaultSetting(modes.MaxTargets));
    // The regulator holds the Max CPU voltage: option 15, code list B's 0xC1.
    EXPECT_EQ(rig.hardware->hoblin().Smbus_JRW(0x61, 0x01, 0), 0xC1);
    rig.clock.advance(6000); // two refreshes
    EXPECT_NE(rig.basicPage().readoutText(power::basic_ids::kCurrentSaving).toStdString(), "0 W")
        << "the current saving";
    EXPECT_NE(rig.basicPage().readoutText(power::basic_ids::kSavingPercentage).toStdString(), "0 %");
}

TEST(MainWindow, TheModeMenuAppliesLikeTheButtons) {
    MainWindowRig rig(2917);
    rig.window->OnCommand(ui::main_window_ids::kProduct);
    rig.basicPage().onMenuCommand(power::basic_ids::kMenuOptimize);
    EXPECT_TRUE(rig.basicPage().modeButton(PowerMode::Optimize)->GetCheck());
    rig.clock.advance(300);
    EXPECT_EQ(rig.registryText("EnableSolvane"), "1");
    // Choosing the active mode again only refreshes the buttons.
    const auto before = rig.hardware->board().log().total();
    rig.basicPage().onMenuCommand(power::basic_ids::kMenuOptimize);
    rig.clock.advance(300);
    EXPECT_EQ(rig.core->state().modes.ActiveMode, PowerMode::Optimize);
    EXPECT_FALSE(rig.clock.isSet(rig.core->session().monitor(), power::PowerMonitor::kApplyOptimizeTimer));
    EXPECT_GE(rig.hardware->board().log().total(), before);

    // Each of the three entries chooses its own mode; any other command chooses none.
    for (const auto& [command, mode, stored] : std::vector<std::tuple<int, PowerMode, std::string>>{
             {power::basic_ids::kMenuMax, PowerMode::Max, "2"},
             {power::basic_ids::kMenuDefault, PowerMode::Default, "0"},
             {power::basic_ids::kMenuOptimize, PowerMode::Optimize, "1"}}) {
        rig.basicPage().onMenuCommand(command);
        EXPECT_TRUE(rig.basicPage().modeButton(mode)->GetCheck()) << command;
        rig.clock.advance(300);
        EXPECT_EQ(rig.registryText("EnableSolvane"), stored) << command;
        rig.basicPage().onMenuCommand(power::basic_ids::kMenuPowerHistory);
        rig.basicPage().onMenuCommand(32790);
        EXPECT_EQ(rig.core->state().modes.ActiveMode, mode) << "after " << command;
    }
}

TEST(MainWindow, BoardsWithoutModeButtonsStillRunTheModes) {
    for (const int board : {2909, 2904}) {
        MainWindowRig rig(board);
        rig.window->OnCommand(ui::main_window_ids::kProduct);
        for (const auto mode : {PowerMode::Default, PowerMode::Optimize, PowerMode::Max})
            EXPECT_FALSE(rig.basicPage().modeButton(mode)->isVisible()) << board;
        rig.core->session().monitor()->SelectMode(PowerMode::Max);
        rig.clock.advance(300);
        EXPECT_EQ(rig.registryText("EnableSolvane"), "2") << board;
    }
}

TEST(MainWindow, ReadoutsAndNotAvailableRowsFollowTheBoard) {
    MainWindowRig rig(2903);
    EXPECT_EQ(rig.basicPage().readoutText(power::basic_ids::kCoreVoltage).toStdString(), "N/A.")
        << "2903 has no core voltage read-out";
    EXPECT_EQ(rig.basicPage().readoutText(power::basic_ids::kRail33).toStdString(), "N/A.");
    MainWindowRig intel(2917);
    EXPECT_TRUE(intel.basicPage().readoutText(power::basic_ids::kCoreVoltage).endsWith(QStringLiteral(" V")));
    EXPECT_TRUE(intel.basicPage().readoutText(power::basic_ids::kFanSpeed).endsWith(QStringLiteral(" rpm")));
}

// An older AMD board: what it lacks or cannot measure reads "N/A.", never blank, and no efficiency
// stands beside an unknown CPU power.
TEST(MainWindow, AnOlderBoardShowsWhatItLacksAsNotAvailable) {
    MainWindowRig rig(2901);
    namespace ids = power::basic_ids;
    for (const int id : {ids::kMemoryVoltage, ids::kIohVoltage, ids::kIchVoltage, ids::kCpuConsumption,
                         ids::kCpuEfficiency}) {
        EXPECT_EQ(rig.basicPage().readoutText(id), QStringLiteral("N/A.")) << id;
    }
    MainWindowRig intel(2917);
    EXPECT_TRUE(intel.basicPage().readoutText(ids::kCpuEfficiency).endsWith(QStringLiteral(" %")));
}

// The load message has a line of its own on the page, wide enough for its text and clear of the
// read-outs.
TEST(MainWindow, TheLoadMessageLineFitsItsTextBesideTheReadouts) {
    MainWindowRig rig(2917);
    const auto* line =
        qobject_cast<QLabel*>(ui::findControl(rig.basicPage(), power::basic_ids::kMessageLine));
    ASSERT_TRUE(line != nullptr);
    const auto box = line->geometry();
    EXPECT_TRUE(rig.basicPage().rect().contains(box)) << "inside the page";
    EXPECT_GE(box.width(),
              line->fontMetrics().horizontalAdvance(QStringLiteral("CPU phase changed by loading !")));
    EXPECT_GE(box.height(), line->fontMetrics().height());
    for (const auto& control : power::kBasicReadouts) {
        const auto* value = ui::findControl(rig.basicPage(), control.valueId);
        if (value != nullptr && value != line && value->isVisible()) {
            EXPECT_FALSE(value->geometry().intersects(box)) << control.valueId;
        }
    }
}

// A fixed CPU phase count too small for the load is raised by the board, and the page says so.
TEST(MainWindow, TheMessageLineSaysWhenTheLoadRaisedTheFixedCpuPhases) {
    MainWindowRig rig(2917, 0.95);
    rig.window->OnCommand(ui::main_window_ids::kProduct);
    auto& modes = rig.core->state().modes;
    modes.CurrentValues[power::indexOf(power::Setting::CpuPhase)] = 1;
    power::WriteSetting(modes, rig.core->commands(), power::indexOf(power::Setting::CpuPhase));
    // The refresh that follows an applied mode is not a timer's: the line follows it at once. The
    // board raises the phases at one refresh, the next reads them.
    for (int refresh = 0; refresh < 2; ++refresh)
        rig.core->session().monitor()->Refresh();
    const auto message = [&] {
        return rig.basicPage().readoutText(power::basic_ids::kMessageLine).toStdString();
    };
    EXPECT_EQ(message(), "CPU phase changed by loading !");
    rig.clock.advance(10000);
    EXPECT_EQ(message(), "CPU phase changed by loading !") << "and stays while the load holds";
}

// The page is dark: captions and the message are drawn light, or they could not be read.
TEST(MainWindow, CaptionsAndTheMessageAreDrawnLightOnTheDarkPage) {
    MainWindowRig rig(2917);
    std::vector<const QLabel*> labels{
        qobject_cast<QLabel*>(ui::findControl(rig.basicPage(), power::basic_ids::kMessageLine))};
    for (const auto& control : power::kBasicReadouts)
        if (control.captionId != 0)
            labels.push_back(qobject_cast<QLabel*>(ui::findControl(rig.basicPage(), control.captionId)));
    for (const auto* label : labels) {
        ASSERT_TRUE(label != nullptr);
        const_cast<QLabel*>(label)->ensurePolished();
        EXPECT_GT(label->palette().color(QPalette::WindowText).lightness(), 100) << ui::controlId(*label);
    }
}

TEST(MainWindow, Boards2902And2905NameTheirBridgesNbAndSb) {
    MainWindowRig rig(2902);
    const auto* south =
        qobject_cast<QLabel*>(ui::findControl(rig.basicPage(), power::basic_ids::kIchVoltageCaption));
    const auto* north =
        qobject_cast<QLabel*>(ui::findControl(rig.basicPage(), power::basic_ids::kIohVoltageCaption));
    ASSERT_TRUE(south != nullptr && north != nullptr);
    EXPECT_EQ(south->text(), QStringLiteral("SB Voltage"));
    EXPECT_EQ(north->text(), QStringLiteral("NB Voltage"));
    EXPECT_FALSE(ui::findControl(rig.basicPage(), power::basic_ids::kMemoryPhases)->isVisible())
        << "no memory phase row";
    MainWindowRig intel(2917);
    EXPECT_EQ(qobject_cast<QLabel*>(ui::findControl(intel.basicPage(), power::basic_ids::kIchVoltageCaption))
                  ->text(),
              QStringLiteral("ICH Voltage"));
}

TEST(MainWindow, SkinButtonsCarryTheirToolTipsAndTheSectionButtonsTheHandCursor) {
    MainWindowRig rig(2917);
    namespace ids = ui::main_window_ids;
    const std::vector<std::tuple<int, const char*, bool>> expected{
        {ids::kSystemInfo, "System Information", false},
        {ids::kMotherboardInfo, "Motherboard Information", false},
        {ids::kPci, "PCI Information", false},
        {ids::kProduct, "Solvane Center", true},
        {ids::kLedSettings, "LED Settings", true},
        {ids::kWebSite, "Link to Tarvok", true},
        {ids::kMinimise, "Minimize", true},
        {ids::kExit, "Exit", true}};
    for (const auto& [id, toolTip, hand] : expected) {
        const auto* button = rig.window->skinButton(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(toolTip)) << id;
        EXPECT_EQ(button->testAttribute(Qt::WA_SetCursor) &&
                      button->cursor().shape() == Qt::PointingHandCursor,
                  hand)
            << id;
    }
}

TEST(MainWindow, ExitWritesTheNormalEndAndGivesTheBoardBack) {
    MainWindowRig rig(2917);
    rig.window->OnCommand(ui::main_window_ids::kProduct);
    rig.basicPage().onMenuCommand(power::basic_ids::kMenuMax);
    rig.clock.advance(300);
    EXPECT_EQ(rig.registryText("SolvaneNormalEnd"), "0");
    rig.hardware->board().log().clear();
    click(*rig.window->skinButton(ui::main_window_ids::kExit));
    EXPECT_FALSE(rig.window->isVisible());
    rig.window->DestroyWindow();
    EXPECT_EQ(rig.registryText("SolvaneNormalEnd"), "1");
    bool fanRestored = false;
    for (const auto& transaction : rig.hardware->board().log().entries())
        fanRestored |= transaction.access == sim::BusAccess::FanControl;
    EXPECT_TRUE(fanRestored) << "the fan channels go back to their start-up duty";
    ASSERT_FALSE(rig.shell.calls().empty());
    EXPECT_EQ(rig.shell.calls().back().message, ui::NotifyMessage::Delete) << "the tray icon is removed";
}

TEST(MainWindow, TheTrayExitEndsTheDialogToo) {
    MainWindowRig rig(2917);
    EXPECT_EQ(rig.shell.calls().size(), 1U) << "the tray icon was added";
    rig.window->OnCommand(ui::CMyAppTrayIcon::kCommandExit);
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_EQ(rig.window->result(), QDialog::Accepted);
}

TEST(MainWindow, TheMemoryCheckSeesTheModulesOnlyOnItsTwoBoards) {
    for (const int board : {2904, 2907, 2917}) {
        MainWindowRig rig(board);
        bool ddr3 = false;
        for (const std::uint8_t address : {0xA1, 0xA3, 0xA5, 0xA7, 0xA9, 0xAB})
            ddr3 |= rig.hardware->hoblin().Smbus_JRW(address, 2, 0) == 11;
        const bool checked = board == 2904 || board == 2907;
        EXPECT_EQ(rig.window->noDdr3(), !(checked && ddr3)) << board;
    }
}

TEST(MainWindow, RunsWithoutBlockingTheOtherWindowsAndEscapeDoesNotCloseIt) {
    MainWindowRig rig(2917);
    rig.window->DestroyWindow();
    auto window = std::make_unique<CSampleDlg>(rig.driver, *rig.core, rig.shell);
    bool sawModal = true;
    bool stillOpenAfterEscape = false;
    QTimer::singleShot(0, window.get(), [&] {
        // The tray icon's own window must keep getting its events while the main window runs.
        sawModal = QApplication::activeModalWidget() != nullptr || window->isModal();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &escape);
        stillOpenAfterEscape = window->isVisible();
        window->OnCommand(ui::CMyAppTrayIcon::kCommandExit);
    });
    window->DoModal();
    EXPECT_FALSE(sawModal);
    EXPECT_TRUE(stillOpenAfterEscape) << "Escape closed the main window";
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

// The start with the session: a second main window on the rig's machine that comes up as the icon
// alone until the user asks for the window. The shell answers the icon with iconTaken.
std::unique_ptr<CSampleDlg> startedInNotificationArea(MainWindowRig& rig, bool iconTaken = true) {
    rig.window->DestroyWindow();
    rig.shell.queueResult(iconTaken);
    auto window = std::make_unique<CSampleDlg>(rig.driver, *rig.core, rig.shell);
    window->setStartShown(CSampleDlg::StartShown::NotificationArea);
    return window;
}

TEST(MainWindow, StartedInTheNotificationAreaTheWindowWaitsForTheIcon) {
    MainWindowRig rig(2917);
    auto window = startedInNotificationArea(rig);
    bool hiddenAtFirst = false;
    bool shownByDoubleClick = false;
    QTimer::singleShot(0, window.get(), [&] {
        hiddenAtFirst = !window->isVisible();
        shownByDoubleClick =
            rig.shell.deliver(ui::CMyAppTrayIcon::kIconId, ui::MouseMessage::LeftDoubleClick) &&
            window->isVisible() && !window->isMinimized();
        window->OnCommand(ui::CMyAppTrayIcon::kCommandExit);
    });
    window->DoModal();
    EXPECT_TRUE(hiddenAtFirst) << "the window showed although only the icon was wanted";
    EXPECT_TRUE(shownByDoubleClick);
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST(MainWindow, StartedInTheNotificationAreaAClosingSignalStillEndsTheRun) {
    MainWindowRig rig(2917);
    auto window = startedInNotificationArea(rig);
    bool hidden = false;
    QTimer::singleShot(0, window.get(), [&] {
        hidden = !window->isVisible();
        window->close(); // what SIGTERM does
    });
    // Should the close be lost, the run ends here instead of hanging, with a result of its own.
    constexpr int kCloseLost = 99;
    QTimer::singleShot(5000, window.get(), [&] { window->done(kCloseLost); });
    window->DoModal();
    EXPECT_TRUE(hidden);
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST(MainWindow, WithoutANotificationAreaTheWindowStartsMinimisedInstead) {
    MainWindowRig rig(2917);
    auto window = startedInNotificationArea(rig, false); // the desktop takes no icon
    bool minimised = false;
    QTimer::singleShot(0, window.get(), [&] {
        minimised = window->isVisible() && window->isMinimized();
        window->close();
    });
    window->DoModal();
    EXPECT_TRUE(minimised) << "with no icon to bring it back the window must be reachable";
}

TEST(MainWindow, TheTrayExitAlsoClosesAnOpenAboutBox) {
    MainWindowRig rig(2917);
    QTimer::singleShot(0, rig.window.get(), [&] {
        auto* about = rig.window->findChild<CAbout*>();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowModality(), Qt::WindowModal);
        const auto* link = about->findChild<ui::CLabel*>();
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->textColor(), ui::palette::kAccent);
        rig.window->OnCommand(ui::CMyAppTrayIcon::kCommandExit);
    });
    rig.window->OnCommand(ui::CMyAppTrayIcon::kCommandAbout);
    EXPECT_FALSE(rig.window->isVisible());
}

TEST(MainWindow, ThePciButtonTakesTheMemoryButtonsPlaceOnThreeBoards) {
    for (const int board : {2906, 2904, 2903, 2917}) {
        MainWindowRig rig(board);
        const auto* pci = rig.window->skinButton(ui::main_window_ids::kPci);
        ASSERT_NE(pci, nullptr);
        EXPECT_EQ(pci->geometry(), board == 2917 ? QRect(270, 61, 42, 24) : QRect(166, 61, 74, 24)) << board;
    }
}

} // namespace
} // namespace solvane::app
