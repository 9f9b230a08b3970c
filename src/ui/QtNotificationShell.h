#pragma once

#include "ui/NotificationShell.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <memory>

namespace solvane::ui {

// The notification area through Qt: one QSystemTrayIcon per icon id. Qt reports activations
// rather than raw mouse messages; each becomes the mouse message a click of that kind sends.
class QtNotificationShell final : public QObject, public NotificationShell {
    Q_OBJECT
public:
    // Adding fails while the desktop has no notification area.
    bool notifyIcon(NotifyMessage message, const NotifyIconData& data) override;

private:
    bool add(const NotifyIconData& data);
    bool modify(const NotifyIconData& data);
    bool remove(const NotifyIconData& data);

    std::map<int, std::unique_ptr<QSystemTrayIcon>> m_icons;
};

} // namespace solvane::ui
