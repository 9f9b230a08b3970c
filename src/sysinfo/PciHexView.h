#pragma once

#include "sysinfo/PciConfigSpace.h"

#include <array>
#include <string>

namespace solvane::sysinfo {

// How the configuration-space view groups the bytes of a row.
enum class PciHexWidth { Byte, Word, Dword };

inline constexpr std::size_t kPciHexRows = 16;
using PciHexRows = std::array<std::string, kPciHexRows>;

// The 16 rows of 16 bytes (offsets 0x00, 0x10, … 0xF0), each made of its four registers as
// "%.2X %.2X %.2X %.2X " (bytes in address order), "%.4X %.4X " (low word first) or "%.8X ".
PciHexRows pciHexRows(const PciRegisters& registers, PciHexWidth width);

// The column heading above the rows: the offset of each column's first byte, aligned with the
// columns of that width ("00 01 02 … 0F" for bytes).
std::string pciHexColumnHeading(PciHexWidth width);

// The row heading beside the rows: "00" to "F0", one per line.
std::string pciHexRowHeading();

} // namespace solvane::sysinfo
