#include "app/SleepWatcher.h"

#include <QDBusConnection>

namespace solvane::app {

SleepWatcher::SleepWatcher(std::function<void(int)> onEvent, QObject* parent)
    : QObject(parent), m_onEvent(std::move(onEvent)) {
    auto bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    m_connected =
        bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                    SLOT(prepareForSleep(bool)));
}

void SleepWatcher::prepareForSleep(bool goingToSleep) {
    if (m_onEvent)
        m_onEvent(goingToSleep ? kSuspend : kResumeAutomatic);
}

} // namespace solvane::app
