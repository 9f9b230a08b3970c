#include "ui/QtNotificationShell.h"

#include "ui/CSysTrayWnd.h"

#include <QPointer>
#include <array>
#include <optional>

namespace solvane::ui {

namespace {

// The mouse message each Qt activation stands for.
struct Activation {
    QSystemTrayIcon::ActivationReason reason;
    MouseMessage message;
};
constexpr std::array<Activation, 4> kActivations{{
    {QSystemTrayIcon::Trigger, MouseMessage::LeftUp},
    {QSystemTrayIcon::DoubleClick, MouseMessage::LeftDoubleClick},
    {QSystemTrayIcon::Context, MouseMessage::RightDown},
    {QSystemTrayIcon::MiddleClick, MouseMessage::MiddleDown},
}};

std::optional<MouseMessage> messageFor(QSystemTrayIcon::ActivationReason reason) {
    for (const auto& activation : kActivations)
        if (activation.reason == reason)
            return activation.message;
    return std::nullopt;
}

} // namespace

bool QtNotificationShell::notifyIcon(NotifyMessage message, const NotifyIconData& data) {
    switch (message) {
    case NotifyMessage::Add:
        return add(data);
    case NotifyMessage::Modify:
        return modify(data);
    case NotifyMessage::Delete:
        return remove(data);
    }
    return false;
}

bool QtNotificationShell::add(const NotifyIconData& data) {
    if (m_icons.count(data.id) != 0 || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    auto icon = std::make_unique<QSystemTrayIcon>(data.icon);
    icon->setToolTip(data.tip);
    QPointer<CSysTrayWnd> window = data.window;
    const int id = data.id;
    const int callback = data.callbackMessage;
    connect(icon.get(), &QSystemTrayIcon::activated, this, [window, id, callback](auto reason) {
        if (const auto message = messageFor(reason); message && window)
            window->OnTrayNotification(callback, id, *message);
    });
    icon->show();
    m_icons.emplace(data.id, std::move(icon));
    return true;
}

bool QtNotificationShell::modify(const NotifyIconData& data) {
    const auto found = m_icons.find(data.id);
    if (found == m_icons.end())
        return false;
    if ((data.flags & kNotifyIconFlag) != 0)
        found->second->setIcon(data.icon);
    if ((data.flags & kNotifyTipFlag) != 0)
        found->second->setToolTip(data.tip);
    if ((data.flags & kNotifyInfoFlag) != 0)
        found->second->showMessage(data.infoTitle, data.info, QSystemTrayIcon::Warning);
    return true;
}

bool QtNotificationShell::remove(const NotifyIconData& data) {
    return m_icons.erase(data.id) != 0;
}

} // namespace solvane::ui
