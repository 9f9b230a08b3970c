#include "ui/ShownPageTimers.h"

#include <QEvent>
#include <QWidget>

namespace solvane::ui {

ShownPageTimers::ShownPageTimers(platform::Scheduler& base)
    : m_timers(base, platform::PausableScheduler::Start::Paused) {}

void ShownPageTimers::watch(QWidget& page) {
    page.installEventFilter(this);
    if (page.isVisible())
        m_timers.resume();
}

bool ShownPageTimers::eventFilter(QObject* watched, QEvent* event) {
    // Minimising sends the page a spontaneous hide and restoring a show, as hiding and showing do.
    if (event->type() == QEvent::Show)
        m_timers.resume();
    else if (event->type() == QEvent::Hide)
        m_timers.pause();
    return QObject::eventFilter(watched, event);
}

} // namespace solvane::ui
