#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace solvane::sysinfo {

// The PCI page's name tables, kept as text rows ("0x8086;Intel;") like every lookup table of the
// information pages. Each lookup returns the text of the first row whose code matches, or none.

// By the vendor ID (register 0x00 bits 15..0).
std::optional<std::string_view> pciVendorText(std::uint16_t vendorId);
// By base class times 256 plus sub-class (register 0x08 bits 31..16); the programming interface
// plays no part.
std::optional<std::string_view> pciClassText(std::uint16_t classCode);
// The chip name of a register-0x00 value: the table is chosen by the vendor ID and searched for
// the device ID. Empty for any other vendor or a device without a row.
std::string_view pciChipName(std::uint32_t register00);

} // namespace solvane::sysinfo
