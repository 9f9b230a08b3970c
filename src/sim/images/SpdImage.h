#pragma once

#include "sim/boards/MemoryModule.h"

#include <array>
#include <cstdint>
#include <span>

namespace solvane::sim {

inline constexpr std::size_t kSpdSize = 256;
using SpdImage = std::array<std::uint8_t, kSpdSize>;

// The serial-presence-detect EEPROM contents of a module, as its maker programs them: the JEDEC layout
// of its generation, with the DDR3 CRC-16 in bytes 126-127 or the DDR/DDR2 checksum in byte 63.
// The module must pass checkModule().
SpdImage buildSpdImage(const MemoryModule& module);

// The JEDEC SPD CRC-16 (polynomial 0x1021, initial value 0) of bytes.
std::uint16_t spdCrc16(std::span<const std::uint8_t> bytes);
// How many leading bytes the DDR3 CRC covers, by bit 7 of byte 0: 117 when set, else 126.
std::size_t ddr3CrcCoverage(std::uint8_t byte0);
// The DDR/DDR2 checksum: the low byte of the sum of bytes 0 to 62.
std::uint8_t spdChecksum(std::span<const std::uint8_t> bytes);

} // namespace solvane::sim
