#pragma once

#include "hw/HardwareLibraries.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace solvane::sysinfo {

// Where a PCI function sits, as the PCI library addresses it (no domain).
struct PciAddress {
    std::uint8_t bus = 0;
    std::uint8_t device = 0;
    std::uint8_t function = 0;

    friend bool operator==(const PciAddress&, const PciAddress&) = default;
};

// The 256 bytes of a function's configuration space as 64 registers of 32 bits (offsets 0x00 to
// 0xFC), each holding its four bytes low byte first as the bus delivers them.
using PciRegisters = std::array<std::uint32_t, 64>;

// Reads the 64 registers. A device above 31 or a function above 7 cannot be put on the bus (the
// numbers would spill into the neighbouring fields of the address and reach another function), so
// it answers as an absent function does: every register 0xFFFFFFFF.
PciRegisters readPciConfigSpace(hw::Falwick& pci, PciAddress address);

// True when a function answered at all (register 0x00 is not 0xFFFFFFFF).
bool pciFunctionAnswers(const PciRegisters& registers);

// The byte at a configuration-space offset.
std::uint8_t pciConfigByte(const PciRegisters& registers, std::size_t offset);

// The address fields of a device-list row ("Intel Host Bridge;0x00;0x1F;0x03;"): the bus, device
// and function fields, each read as two hexadecimal digits. None when the row has fewer fields.
std::optional<PciAddress> pciRowAddress(std::string_view row);

// The four fields of a device-list row as written: the name, then bus, device and function
// ("0x00"), as the page's list view shows them. None when the row has fewer fields.
std::optional<std::array<std::string_view, 4>> pciRowFields(std::string_view row);

} // namespace solvane::sysinfo
