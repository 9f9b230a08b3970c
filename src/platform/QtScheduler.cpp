#include "platform/QtScheduler.h"

#include <QTimerEvent>

namespace solvane::platform {

void QtScheduler::setTimer(Owner owner, int id, unsigned periodMs, std::function<void()> callback) {
    killTimer(owner, id);
    // Coarse: the event loop may move each expiry by up to a twentieth of its period to fall due
    // with the other timers expected around then, so the 3-second refresh and a shown page's
    // 2-second, 1-second and half-second timers share wake-ups instead of each waking the program.
    const int qtId = startTimer(static_cast<int>(std::max(periodMs, 1U)), Qt::CoarseTimer);
    if (qtId == 0)
        return;
    m_timers[{owner, id}] = Timer{qtId, std::make_shared<std::function<void()>>(std::move(callback))};
    m_byQtId[qtId] = {owner, id};
}

void QtScheduler::killTimer(Owner owner, int id) {
    const auto found = m_timers.find({owner, id});
    if (found == m_timers.end())
        return;
    QObject::killTimer(found->second.qtId);
    m_byQtId.erase(found->second.qtId);
    m_timers.erase(found);
}

void QtScheduler::killTimers(Owner owner) {
    std::vector<int> ids;
    for (const auto& [key, timer] : m_timers)
        if (key.first == owner)
            ids.push_back(key.second);
    for (const int id : ids)
        killTimer(owner, id);
}

bool QtScheduler::isSet(Owner owner, int id) const {
    return m_timers.count({owner, id}) != 0;
}

void QtScheduler::timerEvent(QTimerEvent* event) {
    const auto key = m_byQtId.find(event->timerId());
    if (key == m_byQtId.end())
        return;
    // The callback may kill or reset its own timer: keep it alive while it runs.
    const auto callback = m_timers.at(key->second).callback;
    (*callback)();
}

} // namespace solvane::platform
