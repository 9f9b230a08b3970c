#pragma once

#include "ui/NotificationShell.h"

#include <QObject>

namespace solvane::ui {

class CSysTrayIcon;

// The hidden receiver of the shell's callbacks for the icons of one CSysTrayIcon: it turns each
// callback into a call of the manager's mouse operation for that message.
class CSysTrayWnd final : public QObject {
    Q_OBJECT
public:
    explicit CSysTrayWnd(CSysTrayIcon& owner) : m_owner(owner) {}

    // A callback from the shell: the callback message, the icon id and the mouse message. Other
    // messages are ignored.
    void OnTrayNotification(int message, int iconId, MouseMessage mouse);

private:
    CSysTrayIcon& m_owner;
};

} // namespace solvane::ui
