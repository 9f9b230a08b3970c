#pragma once

#include "ui/NotificationShell.h"

#include <QPoint>
#include <list>
#include <memory>

namespace solvane::ui {

class CSysTrayWnd;

// A manager of notification-area icons. Each icon is first added (kept in the manager's list,
// flags 0), then shown (handed to the shell, flags message, icon and tip), shown again (changed in
// place) and finally removed. Mouse activity on an icon arrives as calls of the virtual mouse
// operations with the icon id and the cursor's screen position; subclasses override the ones
// they need. The destructor removes every icon still in the list.
class CSysTrayIcon {
public:
    explicit CSysTrayIcon(NotificationShell& shell);
    virtual ~CSysTrayIcon();
    CSysTrayIcon(const CSysTrayIcon&) = delete;
    CSysTrayIcon& operator=(const CSysTrayIcon&) = delete;

    // 1 on success, also when the id is in the list already (the first record stays); 0 for a
    // null icon. The tooltip is cut to kMaxTipLength characters.
    int AddIcon(const QIcon& icon, int iconId, const QString& tip);
    // The shell's result; 0 for an id that is not in the list.
    int ShowIcon(int iconId);
    // The shell's result; 0 for an id that is not in the list. The record goes in any case.
    int RemoveIcon(int iconId);
    // A desktop notification from a shown icon: the shell's result; 0 for an id that is not in the
    // list or not shown.
    int ShowBalloon(int iconId, const QString& title, const QString& text);

    // The record of an icon in the list, or none.
    const NotifyIconData* record(int iconId) const;
    std::size_t iconCount() const { return m_icons.size(); }
    CSysTrayWnd& window() const { return *m_window; }

    // Calls the mouse operation for a callback's mouse message; other messages do nothing.
    void dispatch(int iconId, MouseMessage message, QPoint cursor);

    virtual void OnLButtonDown(int, QPoint) {}
    virtual void OnRButtonDown(int, QPoint) {}
    virtual void OnMButtonDown(int, QPoint) {}
    virtual void OnLButtonUp(int, QPoint) {}
    virtual void OnRButtonUp(int, QPoint) {}
    virtual void OnMButtonUp(int, QPoint) {}
    virtual void OnLButtonDblClk(int, QPoint) {}
    virtual void OnRButtonDblClk(int, QPoint) {}
    virtual void OnMButtonDblClk(int, QPoint) {}
    virtual void OnMouseMove(int, QPoint) {}

private:
    std::list<NotifyIconData>::iterator findIcon(int iconId);
    NotifyIconData* find(int iconId);

    NotificationShell& m_shell;
    std::unique_ptr<CSysTrayWnd> m_window;
    std::list<NotifyIconData> m_icons;
};

} // namespace solvane::ui
