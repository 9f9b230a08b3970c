#pragma once

#include "platform/PausableScheduler.h"

#include <QObject>

class QWidget;

namespace solvane::ui {

// The timers of one page, running only while the page can be seen: they pause when the page is
// hidden (another page shown, the window minimised or put away to the notification area) and
// resume, each run once at once, when it shows again. Until the page is first shown they wait.
// Give the page scheduler() for its timers and its labels', then watch() the page; this object
// must outlive the page, whose destruction kills its timers through it.
class ShownPageTimers final : public QObject {
public:
    explicit ShownPageTimers(platform::Scheduler& base);

    platform::Scheduler& scheduler() { return m_timers; }
    void watch(QWidget& page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::PausableScheduler m_timers;
};

} // namespace solvane::ui
