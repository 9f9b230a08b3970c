// The main window as a desktop user meets it on a real X server: tool tips while another window
// has the focus. (What needs a window manager, scripts/tray-test drives under one.)
#include "WindowOnScreen.h"
#include "tuning/pages/CList0.h"
#include "tuning/pages/CSLV_ADVANCE_MB.h"

#include <QToolTip>
#include <QWindow>

namespace solvane::app {
namespace {

using test::onScreen;
using test::waitFor;
using test::xdotool;

void pointAt(QPoint screen) {
    xdotool("mousemove " + std::to_string(screen.x()) + " " + std::to_string(screen.y()));
}

TEST(DesktopOnTheScreen, ToolTipsShowOnHoverWhileAnotherWindowHasTheFocus) {
    if (!onScreen())
        GTEST_SKIP() << "needs an X server and xdotool (run the suite under xvfb-run)";
    test::MainWindowRig rig(2917, {ui::main_window_ids::kProduct});
    rig.window->move(40, 40);
    QWidget other;
    other.setGeometry(900, 40, 200, 100);
    other.show();
    ASSERT_TRUE(
        waitFor([&] { return other.windowHandle() != nullptr && other.windowHandle()->isExposed(); }));
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return other.isActiveWindow(); })) << "the other window took no focus";
    ASSERT_FALSE(rig.window->isActiveWindow());

    for (const int id : {ui::main_window_ids::kSystemInfo, ui::main_window_ids::kAdvanced}) {
        auto* button = rig.window->skinButton(id);
        ASSERT_NE(button, nullptr);
        QToolTip::hideText();
        pointAt(button->mapToGlobal(button->rect().center()) + QPoint(0, -2));
        pointAt(button->mapToGlobal(button->rect().center()));
        EXPECT_TRUE(waitFor([&] { return QToolTip::isVisible() && QToolTip::text() == button->toolTip(); },
                            std::chrono::seconds(3)))
            << button->toolTip().toStdString();
    }
}

// Under a Wayland compositor (scripts/wayland-test runs weston's headless back-end): the window
// comes up, its option list opens beside its button as a pop-up of the window, closes on a
// choice and with the minimised window, and Exit closes the window.
TEST(DesktopOnWayland, TheSkinnedWindowComesUpOpensItsListMinimisesAndCloses) {
    if (!QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
        GTEST_SKIP() << "needs a Wayland compositor (run with QT_QPA_PLATFORM=wayland)";
    test::MainWindowRig rig(2917, {ui::main_window_ids::kProduct, ui::main_window_ids::kAdvanced});
    ASSERT_TRUE(waitFor([&] {
        return rig.window->windowHandle() != nullptr && rig.window->windowHandle()->isExposed();
    })) << "the window did not come up";

    auto& page = *rig.window->advancedPage();
    page.OnValueButton(0);
    auto& list = *rig.window->optionList();
    ASSERT_TRUE(waitFor([&] { return list.windowHandle() != nullptr && list.windowHandle()->isExposed(); }))
        << "the option list did not come up as a pop-up";
    EXPECT_EQ(list.windowHandle()->transientParent(), rig.window->windowHandle());
    list.list().item(20)->setSelected(true); // a stable voltage: no question
    EXPECT_TRUE(waitFor([&] { return !list.isVisible(); }));
    EXPECT_EQ(rig.value(0), 20);

    page.OnValueButton(0);
    ASSERT_TRUE(waitFor([&] { return list.isVisible(); }));
    rig.window->OnCommand(ui::main_window_ids::kMinimise);
    EXPECT_TRUE(waitFor([&] { return !list.isVisible(); })) << "the list outlived its minimised window";
    rig.window->OnCommand(ui::CMyAppTrayIcon::kCommandRestore);
    EXPECT_TRUE(waitFor([&] { return rig.window->isVisible(); }));
    rig.window->OnCommand(ui::main_window_ids::kExit);
    EXPECT_TRUE(waitFor([&] { return !rig.window->isVisible(); })) << "Exit did not close the window";
}

} // namespace
} // namespace solvane::app
