#include "ui/CSysTrayWnd.h"

#include "ui/CSysTrayIcon.h"

#include <QCursor>

namespace solvane::ui {

void CSysTrayWnd::OnTrayNotification(int message, int iconId, MouseMessage mouse) {
    if (message != kTrayCallbackMessage)
        return;
    m_owner.dispatch(iconId, mouse, QCursor::pos());
}

} // namespace solvane::ui
