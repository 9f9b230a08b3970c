#pragma once

#include "ui/NotificationShell.h"

#include <deque>
#include <vector>

namespace solvane::ui {

// Test double of the notification area: records every request with a copy of its record and
// answers from a queue of results (true once the queue is empty). deliver() plays the shell's
// callback for an icon it holds.
class RecordingNotificationShell final : public NotificationShell {
public:
    struct Call {
        NotifyMessage message;
        NotifyIconData data;
    };

    bool notifyIcon(NotifyMessage message, const NotifyIconData& data) override;

    void queueResult(bool result) { m_results.push_back(result); }
    const std::vector<Call>& calls() const { return m_calls; }
    // Sends the owner window of the last record seen for the icon a callback; false when the
    // shell never saw the icon.
    bool deliver(int iconId, MouseMessage mouse) const;

private:
    std::deque<bool> m_results;
    std::vector<Call> m_calls;
};

} // namespace solvane::ui
