#pragma once

#include "hw/HardwareLibraries.h"

#include <string>

namespace solvane::sysinfo {

// The board's Super I/O chip as the motherboard information page names it: the maker and the chip.
// Both empty unless the chip answers with the Fintek vendor id.
struct SuperIoIdentity {
    std::string vendor;
    std::string chip;

    friend bool operator==(const SuperIoIdentity&, const SuperIoIdentity&) = default;
};

// Reads the vendor id (registers 0x24, 0x23) and the chip id (registers 0x21, 0x20) of logical
// device 4 at configuration port 0x4E, and names the chip from the Super I/O rows of the board
// table.
SuperIoIdentity identifySuperIo(hw::Ostrel& superIo);

} // namespace solvane::sysinfo
