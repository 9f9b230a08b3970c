#include "ui/CMyAppTrayIcon.h"

#include <QMenu>
#include <QWidget>

namespace solvane::ui {

CMyAppTrayIcon::CMyAppTrayIcon(NotificationShell& shell, QWidget& mainWindow, CommandSink sendCommand)
    : CSysTrayIcon(shell), m_mainWindow(mainWindow), m_sendCommand(std::move(sendCommand)) {}

void CMyAppTrayIcon::OnRButtonDown(int, QPoint cursor) {
    const auto menu = buildPopupMenu(kTrayMenu, &m_mainWindow);
    // The main window comes to the front first, so the menu closes when the user clicks
    // elsewhere.
    m_mainWindow.raise();
    m_mainWindow.activateWindow();
    if (const auto command = trackPopupMenu(*menu, cursor); command && m_sendCommand)
        m_sendCommand(*command);
}

void CMyAppTrayIcon::OnLButtonDblClk(int, QPoint) {
    m_mainWindow.showNormal();
    m_mainWindow.raise();
    m_mainWindow.activateWindow();
}

} // namespace solvane::ui
