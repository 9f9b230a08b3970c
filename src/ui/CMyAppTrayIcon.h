#pragma once

#include "ui/CSysTrayIcon.h"
#include "ui/PopupMenu.h"

#include <array>
#include <functional>
#include <string_view>

class QWidget;

namespace solvane::ui {

// The program's notification-area icon: a right click opens the tray menu (menu 264) and hands
// the chosen command to the main window; a left double click brings the main window back.
class CMyAppTrayIcon final : public CSysTrayIcon {
public:
    static constexpr int kIconId = 1;
    static constexpr std::string_view kTip = "SolvaneII";
    static constexpr int kTrayMenuId = 264;
    static constexpr int kCommandExit = 32980;
    static constexpr int kCommandRestore = 32981;
    static constexpr int kCommandAbout = 32982;
    static constexpr int kCommandPowerHistory = 32983; // added: the power history window
    static constexpr std::array<MenuItem, 5> kTrayMenu{{
        {kCommandRestore, "Solvane"},
        {kCommandPowerHistory, "Power History"},
        {kCommandAbout, "About"},
        {0, {}},
        {kCommandExit, "Exit"},
    }};

    using CommandSink = std::function<void(int commandId)>;

    // The main window receives the menu's commands through sendCommand.
    CMyAppTrayIcon(NotificationShell& shell, QWidget& mainWindow, CommandSink sendCommand);

    void OnRButtonDown(int iconId, QPoint cursor) override;
    void OnLButtonDblClk(int iconId, QPoint cursor) override;

private:
    QWidget& m_mainWindow;
    CommandSink m_sendCommand;
};

} // namespace solvane::ui
