#pragma once

namespace solvane::power {

// Commands the pages send the main window, which owns the board routines. The argument travels in
// PowerModeState (PendingSettingIndex or ReadRequest), stored before the command is sent; each
// command returns after the work is done.
enum class BoardCommand : int {
    ReadBack = 33042,
    WriteSetting = 33043,
    CloseOptionPopup = 33044,
    CheckAndWrite = 33045,
};

class BoardCommands {
public:
    virtual ~BoardCommands() = default;
    virtual void send(BoardCommand command) = 0;
};

} // namespace solvane::power
