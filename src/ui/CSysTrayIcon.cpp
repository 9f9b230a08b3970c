#include "ui/CSysTrayIcon.h"

#include "ui/CSysTrayWnd.h"

#include <algorithm>
#include <array>

namespace solvane::ui {

namespace {

struct MouseHandler {
    MouseMessage message;
    void (CSysTrayIcon::*handle)(int, QPoint);
};
constexpr std::array<MouseHandler, 10> kMouseHandlers{{
    {MouseMessage::Move, &CSysTrayIcon::OnMouseMove},
    {MouseMessage::LeftDown, &CSysTrayIcon::OnLButtonDown},
    {MouseMessage::LeftUp, &CSysTrayIcon::OnLButtonUp},
    {MouseMessage::LeftDoubleClick, &CSysTrayIcon::OnLButtonDblClk},
    {MouseMessage::RightDown, &CSysTrayIcon::OnRButtonDown},
    {MouseMessage::RightUp, &CSysTrayIcon::OnRButtonUp},
    {MouseMessage::RightDoubleClick, &CSysTrayIcon::OnRButtonDblClk},
    {MouseMessage::MiddleDown, &CSysTrayIcon::OnMButtonDown},
    {MouseMessage::MiddleUp, &CSysTrayIcon::OnMButtonUp},
    {MouseMessage::MiddleDoubleClick, &CSysTrayIcon::OnMButtonDblClk},
}};

} // namespace

CSysTrayIcon::CSysTrayIcon(NotificationShell& shell)
    : m_shell(shell), m_window(std::make_unique<CSysTrayWnd>(*this)) {}

CSysTrayIcon::~CSysTrayIcon() {
    while (!m_icons.empty())
        RemoveIcon(m_icons.front().id);
}

std::list<NotifyIconData>::iterator CSysTrayIcon::findIcon(int iconId) {
    return std::find_if(m_icons.begin(), m_icons.end(),
                        [iconId](const NotifyIconData& icon) { return icon.id == iconId; });
}

NotifyIconData* CSysTrayIcon::find(int iconId) {
    const auto found = findIcon(iconId);
    return found == m_icons.end() ? nullptr : &*found;
}

const NotifyIconData* CSysTrayIcon::record(int iconId) const {
    return const_cast<CSysTrayIcon*>(this)->find(iconId);
}

int CSysTrayIcon::AddIcon(const QIcon& icon, int iconId, const QString& tip) {
    if (icon.isNull())
        return 0;
    if (find(iconId) != nullptr)
        return 1;
    m_icons.push_back(
        {m_window.get(), iconId, 0, kTrayCallbackMessage, icon, tip.left(kMaxTipLength), {}, {}});
    return 1;
}

int CSysTrayIcon::ShowIcon(int iconId) {
    NotifyIconData* icon = find(iconId);
    if (icon == nullptr)
        return 0;
    const bool shownBefore = icon->flags != 0;
    icon->flags = kNotifyShownFlags;
    const bool done = m_shell.notifyIcon(shownBefore ? NotifyMessage::Modify : NotifyMessage::Add, *icon);
    // An icon the shell never took is still only added, so the next show adds it again rather
    // than changing an icon the shell does not know.
    if (!done && !shownBefore)
        icon->flags = 0;
    return done ? 1 : 0;
}

int CSysTrayIcon::ShowBalloon(int iconId, const QString& title, const QString& text) {
    const NotifyIconData* icon = find(iconId);
    if (icon == nullptr || icon->flags == 0)
        return 0;
    // The balloon travels with one change of the record; the record itself keeps no balloon.
    NotifyIconData balloon = *icon;
    balloon.flags = kNotifyInfoFlag;
    balloon.infoTitle = title;
    balloon.info = text;
    return m_shell.notifyIcon(NotifyMessage::Modify, balloon) ? 1 : 0;
}

int CSysTrayIcon::RemoveIcon(int iconId) {
    const auto found = findIcon(iconId);
    if (found == m_icons.end())
        return 0;
    found->flags = 0;
    const bool done = m_shell.notifyIcon(NotifyMessage::Delete, *found);
    m_icons.erase(found);
    return done ? 1 : 0;
}

void CSysTrayIcon::dispatch(int iconId, MouseMessage message, QPoint cursor) {
    for (const auto& handler : kMouseHandlers)
        if (handler.message == message)
            (this->*handler.handle)(iconId, cursor);
}

} // namespace solvane::ui
