#pragma once

#include <QIcon>
#include <QString>

namespace solvane::ui {

class CSysTrayWnd;

// What the shell is asked to do with a notification-area icon.
enum class NotifyMessage {
    Add = 0,
    Modify = 1,
    Delete = 2,
};

// The parts of an icon record the shell takes (flags of the record).
inline constexpr unsigned kNotifyMessageFlag = 0x1; // the callback message is valid
inline constexpr unsigned kNotifyIconFlag = 0x2;    // the icon is valid
inline constexpr unsigned kNotifyTipFlag = 0x4;     // the tooltip is valid
inline constexpr unsigned kNotifyShownFlags = kNotifyMessageFlag | kNotifyIconFlag | kNotifyTipFlag;
inline constexpr unsigned kNotifyInfoFlag = 0x10; // a balloon notification comes with the change

// The message the shell sends the owner window for mouse activity on an icon.
inline constexpr int kTrayCallbackMessage = 0x401;
// The longest tooltip an icon record holds.
inline constexpr int kMaxTipLength = 127;

// The mouse message the shell reports with a callback.
enum class MouseMessage {
    Move = 0x200,
    LeftDown = 0x201,
    LeftUp = 0x202,
    LeftDoubleClick = 0x203,
    RightDown = 0x204,
    RightUp = 0x205,
    RightDoubleClick = 0x206,
    MiddleDown = 0x207,
    MiddleUp = 0x208,
    MiddleDoubleClick = 0x209,
};

// One notification-area icon as its manager keeps it and the shell receives it.
struct NotifyIconData {
    CSysTrayWnd* window = nullptr; // receives the callbacks
    int id = 0;
    unsigned flags = 0;
    int callbackMessage = kTrayCallbackMessage;
    QIcon icon;
    QString tip;
    QString infoTitle; // the balloon's title and text, with kNotifyInfoFlag
    QString info;
};

// The desktop's notification area: adds, changes and removes icons, and reports mouse activity
// on them to the record's window.
class NotificationShell {
public:
    virtual ~NotificationShell() = default;
    virtual bool notifyIcon(NotifyMessage message, const NotifyIconData& data) = 0;
};

} // namespace solvane::ui
