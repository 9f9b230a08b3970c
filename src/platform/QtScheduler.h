#pragma once

#include "platform/Scheduler.h"

#include <QObject>

namespace solvane::platform {

// Window timers on Qt's event loop, coalesced onto shared wake-ups.
class QtScheduler final : public QObject, public Scheduler {
public:
    void setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) override;
    void killTimer(Owner owner, int id) override;
    void killTimers(Owner owner) override;
    bool isSet(Owner owner, int id) const override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    struct Timer {
        int qtId = 0;
        std::shared_ptr<std::function<void()>> callback;
    };
    using Key = std::pair<Owner, int>;
    std::map<Key, Timer> m_timers;
    std::map<int, Key> m_byQtId;
};

} // namespace solvane::platform
