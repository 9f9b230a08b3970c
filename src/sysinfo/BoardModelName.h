#pragma once

#include "board/PlatformInfo.h"

#include <string>

namespace solvane::sysinfo {

// The "Product Name" of the motherboard information page: the baseboard's model prefix when the
// firmware gives one, else the board's name from the model-name table by its code and revision.
//
// 2904 names one board revision per baseboard version ("4.0", "5.0", "6.0"), and the revision
// without DDR3 memory apart. A board code the table does not know shows the board string itself, so
// the field never goes blank on an unlisted board. 2908 boards of version "2.0" would take a second
// name the table does not hold; they keep the record's first name.
std::string boardModelName(const power::PlatformInfo& platform, bool noDdr3Module);

} // namespace solvane::sysinfo
