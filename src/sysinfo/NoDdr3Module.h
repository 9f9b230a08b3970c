#pragma once

#include "hw/HardwareLibraries.h"

namespace solvane::sysinfo {

// The main window's "no DDR3 module" flag, which picks a model name of board 2904: set, unless the
// board is 2904 or 2907 and one of the six memory-module EEPROMs reports DDR3 in its memory-type
// byte. Read through the SMBus library, so only after the power-saving page has loaded it.
bool noDdr3Module(int boardCode, hw::Hoblin& smbus);

} // namespace solvane::sysinfo
