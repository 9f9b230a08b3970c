// The main window with the power history: the tray menu and the basic page's menu open the history
// window, and a limit crossing shows as one notification of the tray icon per crossing.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "app/PowerHistoryRun.h"
#include "history/window/CPowerHistoryDlg.h"
#include "hw/driver/IoDriver.h"
#include "platform/DeviceIo.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "power/pages/BasicPageLayout.h"
#include "power/pages/CSLV_NOVICE.h"
#include "sim/physics/ScriptedCpuLoad.h"
#include "support/TempFolder.h"
#include "ui/RecordingNotificationShell.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

constexpr std::int64_t kMonday = 1796601600; // 2026-12-07T00:00:00Z
// Twenty minutes idle, twenty busy, in turn.
constexpr int kRefreshesPerStretch = 20 * 20;

class HistoryWindowRig {
public:
    HistoryWindowRig() : devices(serviceTable), driver(parts.system, serviceTable, devices, sleeper) {
        sim::SimulationOptions options;
        options.boardCode = 2917;
        options.seed = 5;
        options.cpuLoad =
            std::make_shared<sim::ScriptedCpuLoad>(std::vector<double>{0.02, 1.0}, std::chrono::minutes(20));
        options.clock = [this] { return std::chrono::milliseconds(parts.clock.now()); };
        hardware = std::make_unique<sim::SimulatedHardware>(options);
        core = std::make_unique<SolvaneCore>(parts.on(*hardware, 3));
        window = std::make_unique<CSampleDlg>(driver, *core, shell);
        const auto now = [this] { return kMonday + static_cast<std::int64_t>(parts.clock.now() / 1000); };
        window->setPowerHistoryStart(
            [this, now] {
                run = std::make_unique<PowerHistoryRun>(*core, folder.path(), "", now);
                return run->history();
            },
            now);
        window->InitDialog();
        EXPECT_NE(run, nullptr) << "the history starts with the window";
    }
    ~HistoryWindowRig() {
        window->DestroyWindow();
        window.reset();
        run.reset();
    }

    // Notifications the tray icon showed.
    std::vector<QString> balloons() const {
        std::vector<QString> texts;
        for (const auto& call : shell.calls())
            if ((call.data.flags & ui::kNotifyInfoFlag) != 0)
                texts.push_back(call.data.info);
        return texts;
    }
    double temperature() const { return run->history()->latest()->cpuCelsius; }

    test::TempFolder folder;
    test::CoreServices parts;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices;
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver;
    ui::RecordingNotificationShell shell;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    std::unique_ptr<SolvaneCore> core;
    std::unique_ptr<CSampleDlg> window;
    std::unique_ptr<PowerHistoryRun> run;
};

TEST(MainWindowHistory, TheTrayMenuAndThePageMenuOpenTheHistoryWindow) {
    HistoryWindowRig rig;
    EXPECT_EQ(ui::CMyAppTrayIcon::kTrayMenu[1].commandId, ui::CMyAppTrayIcon::kCommandPowerHistory);
    EXPECT_EQ(rig.window->powerHistoryWindow(), nullptr);
    rig.window->OnCommand(ui::CMyAppTrayIcon::kCommandPowerHistory);
    ASSERT_NE(rig.window->powerHistoryWindow(), nullptr);
    EXPECT_TRUE(rig.window->powerHistoryWindow()->isVisible());
    rig.window->powerHistoryWindow()->hide();
    rig.window->basicPage()->onMenuCommand(power::basic_ids::kMenuPowerHistory);
    EXPECT_TRUE(rig.window->powerHistoryWindow()->isVisible());
}

// The basic page's right-click menu: the three modes with the active one ticked, then the power
// history's item, which opens its window.
TEST(MainWindowHistory, ThePageMenuOffersTheModesAndThePowerHistory) {
    HistoryWindowRig rig;
    auto& page = *rig.window->basicPage();
    QStringList items;
    QStringList ticked;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->isChecked())
                ticked << action->text();
        }
        menu->setActiveAction(menu->actions().last());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, page.mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&page, &press);
    EXPECT_EQ(items, (QStringList{QStringLiteral("Default"), QStringLiteral("Optimize"),
                                  QStringLiteral("Max Power Saving"), QStringLiteral("-"),
                                  QStringLiteral("Power History...")}));
    EXPECT_EQ(ticked, QStringList{QStringLiteral("Default")});
    ASSERT_NE(rig.window->powerHistoryWindow(), nullptr);
    EXPECT_TRUE(rig.window->powerHistoryWindow()->isVisible());
}

TEST(MainWindowHistory, ALimitCrossingShowsOneTrayNotificationPerCrossing) {
    HistoryWindowRig rig;
    rig.window->basicPage()->onMenuCommand(power::basic_ids::kMenuOptimize);
    // One idle and one busy stretch without a limit: where the temperature goes.
    double lowest = 1000;
    double highest = -1000;
    for (int i = 0; i < 2 * kRefreshesPerStretch; ++i) {
        rig.parts.clock.advance(power::PowerMonitor::kRefreshPeriodMs);
        lowest = std::min(lowest, rig.temperature());
        highest = std::max(highest, rig.temperature());
    }
    ASSERT_GT(highest - lowest, 10) << lowest << " to " << highest;
    const int limit = static_cast<int>((lowest + highest) / 2);
    ASSERT_TRUE(history::writeAlertLimits(rig.parts.registry, {limit, std::nullopt, std::nullopt}));
    rig.run->history()->reloadLimits();
    // A busy stretch just ended and the temperature is still above the limit: one crossing.
    rig.parts.clock.advance(power::PowerMonitor::kRefreshPeriodMs);
    ASSERT_EQ(rig.balloons().size(), 1U);
    EXPECT_TRUE(rig.balloons()[0].startsWith(QStringLiteral("CPU temperature ")))
        << rig.balloons()[0].toStdString();
    EXPECT_TRUE(rig.balloons()[0].endsWith(QStringLiteral(" is above its limit of %1 °C").arg(limit)));
    // Idle, then busy, twice: one more each time it rises again.
    const auto stretch = [&] {
        rig.parts.clock.advance(power::PowerMonitor::kRefreshPeriodMs * kRefreshesPerStretch);
    };
    rig.parts.clock.advance(power::PowerMonitor::kRefreshPeriodMs * (kRefreshesPerStretch - 1));
    EXPECT_EQ(rig.balloons().size(), 1U) << "idle: no crossing";
    stretch();
    EXPECT_EQ(rig.balloons().size(), 2U) << "busy";
    stretch();
    EXPECT_EQ(rig.balloons().size(), 2U) << "idle: no crossing";
    stretch();
    EXPECT_EQ(rig.balloons().size(), 3U) << "busy";
    rig.run->history()->flush();
    EXPECT_EQ(rig.run->history()->store()->alerts(0, INT64_MAX).size(), 3U);
}

} // namespace
} // namespace solvane::app
