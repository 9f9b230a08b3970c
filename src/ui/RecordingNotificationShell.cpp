#include "ui/RecordingNotificationShell.h"

#include "ui/CSysTrayWnd.h"

namespace solvane::ui {

bool RecordingNotificationShell::notifyIcon(NotifyMessage message, const NotifyIconData& data) {
    m_calls.push_back({message, data});
    if (m_results.empty())
        return true;
    const bool result = m_results.front();
    m_results.pop_front();
    return result;
}

bool RecordingNotificationShell::deliver(int iconId, MouseMessage mouse) const {
    for (auto call = m_calls.rbegin(); call != m_calls.rend(); ++call) {
        if (call->data.id != iconId || call->data.window == nullptr)
            continue;
        call->data.window->OnTrayNotification(call->data.callbackMessage, iconId, mouse);
        return true;
    }
    return false;
}

} // namespace solvane::ui
