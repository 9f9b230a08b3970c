#include "ui/CMyAppTrayIcon.h"
#include "ui/CSysTrayWnd.h"
#include "ui/RecordingNotificationShell.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

QIcon someIcon(QColor color) {
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

TEST(CSysTrayIcon, ABalloonComesOnlyFromAShownIconAndLeavesItsRecordAsItWas) {
    RecordingNotificationShell shell;
    CSysTrayIcon tray(shell);
    EXPECT_EQ(tray.ShowBalloon(1, QStringLiteral("Solvane"), QStringLiteral("hot")), 0) << "no such icon";
    tray.AddIcon(someIcon(Qt::green), 1, QStringLiteral("tip"));
    EXPECT_EQ(tray.ShowBalloon(1, QStringLiteral("Solvane"), QStringLiteral("hot")), 0) << "not shown yet";
    EXPECT_TRUE(shell.calls().empty());
    tray.ShowIcon(1);
    EXPECT_EQ(tray.ShowBalloon(1, QStringLiteral("Solvane"), QStringLiteral("hot")), 1);
    ASSERT_EQ(shell.calls().size(), 2U);
    const auto& balloon = shell.calls().back();
    EXPECT_EQ(balloon.message, NotifyMessage::Modify);
    EXPECT_EQ(balloon.data.flags, kNotifyInfoFlag) << "the icon and tip stay as they are";
    EXPECT_EQ(balloon.data.infoTitle, QStringLiteral("Solvane"));
    EXPECT_EQ(balloon.data.info, QStringLiteral("hot"));
    EXPECT_EQ(tray.record(1)->flags, kNotifyShownFlags);
    EXPECT_TRUE(tray.record(1)->info.isEmpty());
    shell.queueResult(false);
    EXPECT_EQ(tray.ShowBalloon(1, QStringLiteral("Solvane"), QStringLiteral("again")), 0);
}

TEST(CSysTrayIcon, AddingTheSameIdTwiceKeepsTheFirstRecord) {
    RecordingNotificationShell shell;
    CSysTrayIcon tray(shell);

    EXPECT_EQ(tray.AddIcon(someIcon(Qt::green), 1, QStringLiteral("first")), 1);
    EXPECT_EQ(tray.AddIcon(someIcon(Qt::red), 1, QStringLiteral("second")), 1);

    ASSERT_EQ(tray.iconCount(), 1U);
    const NotifyIconData* record = tray.record(1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->tip, QStringLiteral("first"));
    EXPECT_EQ(record->icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
    EXPECT_EQ(record->flags, 0U) << "added, not yet shown";
    EXPECT_EQ(record->window, &tray.window());
    EXPECT_EQ(record->callbackMessage, kTrayCallbackMessage);
    EXPECT_TRUE(shell.calls().empty()) << "adding does not reach the shell";
    EXPECT_EQ(tray.AddIcon(QIcon(), 2, QStringLiteral("no icon")), 0);
}

TEST(CSysTrayIcon, ShowingTwiceAddsThenModifies) {
    RecordingNotificationShell shell;
    CSysTrayIcon tray(shell);
    tray.AddIcon(someIcon(Qt::green), 1, QStringLiteral("SolvaneII"));

    EXPECT_EQ(tray.ShowIcon(1), 1);
    EXPECT_EQ(tray.ShowIcon(1), 1);

    ASSERT_EQ(shell.calls().size(), 2U);
    EXPECT_EQ(shell.calls()[0].message, NotifyMessage::Add);
    EXPECT_EQ(shell.calls()[1].message, NotifyMessage::Modify);
    EXPECT_EQ(shell.calls()[0].data.flags, kNotifyShownFlags);
    EXPECT_EQ(shell.calls()[0].data.tip, QStringLiteral("SolvaneII"));
    EXPECT_EQ(tray.record(1)->flags, 7U);
}

TEST(CSysTrayIcon, AnIconTheShellRefusedIsAddedAgainNextTime) {
    RecordingNotificationShell shell;
    CSysTrayIcon tray(shell);
    tray.AddIcon(someIcon(Qt::green), 1, QStringLiteral("SolvaneII"));
    shell.queueResult(false);

    EXPECT_EQ(tray.ShowIcon(1), 0);
    EXPECT_EQ(tray.record(1)->flags, 0U);
    EXPECT_EQ(tray.ShowIcon(1), 1);
    ASSERT_EQ(shell.calls().size(), 2U);
    EXPECT_EQ(shell.calls()[1].message, NotifyMessage::Add);

    shell.queueResult(false);
    EXPECT_EQ(tray.ShowIcon(1), 0);
    EXPECT_EQ(tray.record(1)->flags, 7U) << "a shown icon stays shown when a change fails";
}

TEST(CSysTrayIcon, UnknownIdsDoNothing) {
    RecordingNotificationShell shell;
    CSysTrayIcon tray(shell);
    EXPECT_EQ(tray.ShowIcon(5), 0);
    EXPECT_EQ(tray.RemoveIcon(5), 0);
    EXPECT_TRUE(shell.calls().empty());
}

TEST(CSysTrayIcon, RemovingDeletesFromTheShellAndTheList) {
    RecordingNotificationShell shell;
    {
        CSysTrayIcon tray(shell);
        tray.AddIcon(someIcon(Qt::green), 1, QStringLiteral("one"));
        tray.AddIcon(someIcon(Qt::green), 2, QStringLiteral("two"));
        tray.ShowIcon(1);
        EXPECT_EQ(tray.RemoveIcon(1), 1);
        EXPECT_EQ(tray.record(1), nullptr);
        EXPECT_EQ(shell.calls().back().message, NotifyMessage::Delete);
        EXPECT_EQ(shell.calls().back().data.flags, 0U);
    }
    // The manager removed the icon still in its list when it went.
    EXPECT_EQ(shell.calls().back().message, NotifyMessage::Delete);
    EXPECT_EQ(shell.calls().back().data.id, 2);
}

TEST(CSysTrayIcon, TheTooltipHoldsAtMost127Characters) {
    RecordingNotificationShell shell;
    CSysTrayIcon tray(shell);
    tray.AddIcon(someIcon(Qt::green), 1, QString(200, u'x'));
    EXPECT_EQ(tray.record(1)->tip.size(), kMaxTipLength);
}

// Records which mouse operation the callbacks reach.
class RecordingTray final : public CSysTrayIcon {
public:
    using CSysTrayIcon::CSysTrayIcon;
    void OnLButtonDown(int id, QPoint) override { seen << QStringLiteral("left down %1").arg(id); }
    void OnRButtonUp(int id, QPoint) override { seen << QStringLiteral("right up %1").arg(id); }
    void OnMButtonDblClk(int id, QPoint) override { seen << QStringLiteral("middle double %1").arg(id); }
    void OnMouseMove(int id, QPoint) override { seen << QStringLiteral("move %1").arg(id); }
    QStringList seen;
};

TEST(CSysTrayWnd, CallbacksReachTheOperationOfTheirMouseMessage) {
    RecordingNotificationShell shell;
    RecordingTray tray(shell);
    tray.AddIcon(someIcon(Qt::green), 3, QStringLiteral("three"));
    tray.ShowIcon(3);

    for (const auto message : {MouseMessage::LeftDown, MouseMessage::RightUp, MouseMessage::MiddleDoubleClick,
                               MouseMessage::Move, MouseMessage::RightDown})
        ASSERT_TRUE(shell.deliver(3, message));
    tray.window().OnTrayNotification(0x400, 3, MouseMessage::LeftDown);

    EXPECT_EQ(tray.seen, (QStringList{QStringLiteral("left down 3"), QStringLiteral("right up 3"),
                                      QStringLiteral("middle double 3"), QStringLiteral("move 3")}));
}

TEST(CMyAppTrayIcon, ARightClickOpensTheTrayMenuAndSendsTheChosenCommand) {
    RecordingNotificationShell shell;
    QWidget mainWindow;
    QList<int> commands;
    CMyAppTrayIcon tray(shell, mainWindow, [&commands](int command) { commands << command; });
    tray.AddIcon(someIcon(Qt::green), CMyAppTrayIcon::kIconId,
                 QString::fromLatin1(CMyAppTrayIcon::kTip.data()));
    tray.ShowIcon(CMyAppTrayIcon::kIconId);

    QStringList items;
    QTimer::singleShot(0, [&items] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        menu->setActiveAction(menu->actions().last());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    shell.deliver(CMyAppTrayIcon::kIconId, MouseMessage::RightDown);

    // Menu 264 with the power history window's item added after "Solvane".
    EXPECT_EQ(items, (QStringList{QStringLiteral("Solvane"), QStringLiteral("Power History"),
                                  QStringLiteral("About"), QStringLiteral("-"), QStringLiteral("Exit")}));
    EXPECT_EQ(commands, QList<int>{CMyAppTrayIcon::kCommandExit});
}

TEST(CMyAppTrayIcon, ALeftDoubleClickRestoresTheMainWindow) {
    RecordingNotificationShell shell;
    QWidget mainWindow;
    CMyAppTrayIcon tray(shell, mainWindow, {});
    tray.AddIcon(someIcon(Qt::green), CMyAppTrayIcon::kIconId, QStringLiteral("SolvaneII"));
    tray.ShowIcon(CMyAppTrayIcon::kIconId);
    mainWindow.showMinimized();

    shell.deliver(CMyAppTrayIcon::kIconId, MouseMessage::LeftDoubleClick);

    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(mainWindow.isMinimized());
}

} // namespace
} // namespace solvane::ui
