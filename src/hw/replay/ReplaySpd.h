#pragma once

#include "hw/replay/ReplayResult.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace solvane::hw {

// Every SPD EEPROM generation holds at least 128 bytes (SDRAM) and at most 1024 (DDR5).
inline constexpr std::size_t kSpdMinimumBytes = 128;
inline constexpr std::size_t kSpdMaximumBytes = 1024;

// SPD EEPROMs answer at 7-bit SMBus addresses 0x50 to 0x57, 0xA0 to 0xAF in the 8-bit form.
inline constexpr std::uint8_t kFirstSpdAddress = 0x50;
inline constexpr std::uint8_t kLastSpdAddress = 0x57;

// The contents of an SPD EEPROM from a file: raw binary, or hex text (see parseSpdHexText). A file
// made only of printable characters and line ends is taken as text.
ReplayResult<std::vector<std::uint8_t>> parseSpdImage(std::span<const std::uint8_t> file);

// Hex text as the usual tools print it: bare hex bytes ("92 11 0b ..."), "i2cdump" rows
// ("00: 92 11 ...    ascii", "XX" for a byte that could not be read), "hexdump -C" (with "*" for
// repeated rows), "xxd" (groups of two bytes), rows with "0000:" offsets, and "#" comment lines.
// Offsets must follow on from the bytes before them.
ReplayResult<std::vector<std::uint8_t>> parseSpdHexText(std::string_view text);

// The EEPROM a slot argument names, as its 8-bit SMBus write address (0xA0, 0xA2, ... 0xAE): a slot
// name "DIMM_A0" to "DIMM_C1", an 8-bit address "0xA0" to "0xAF" or a 7-bit one "0x50" to "0x57".
ReplayResult<std::uint8_t> parseSpdSlot(std::string_view slot);

} // namespace solvane::hw
