#pragma once

#include "board/PlatformInfo.h"
#include "hw/HardwareLibraries.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace solvane::power {

// Reads the SMBIOS table through the firmware library (GetDMILength, then GetDMIData into a buffer
// of that size) and fills the identification part of platform. Without a table, or with one the
// library cannot deliver, the strings stay empty and the board is unknown.
void IdentifyPlatform(hw::Ostrel& firmware, PlatformInfo& platform);

// The walk itself, over a table in memory: BIOS strings from type 0, BoardString from the system
// product name (type 1), the baseboard strings and the "KX-"/"(" rules from type 2, the processor
// fields from type 4. A malformed structure ends the walk with what was found before it.
void identifyFromSmbiosTable(std::span<const std::uint8_t> table, PlatformInfo& platform);

// The board number in a board string: the digits left after removing every "KX-" ("KX-2917" gives
// 2917); 0 unless exactly digits are left, so that comparing numbers is comparing the code text.
int boardCodeOf(std::string_view boardString);

} // namespace solvane::power
