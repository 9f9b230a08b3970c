#pragma once

#include "hw/HardwareLibraries.h"
#include "sysinfo/PciPlatformFacts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace solvane::sysinfo {

// One PCI function the enumeration found: its device-list row ("Intel Host Bridge;0x00;0x00;0x00;")
// and the IDs it answered with, which name it in the PCI ID database.
struct PciListedFunction {
    std::string row;
    std::uint16_t vendorId = 0;
    std::uint16_t deviceId = 0;
    // False when a built-in table had no row for the vendor or the class ("Unknown", "Device").
    bool namedByTables = true;
    // Which source named the row (see PciRowNames.h); empty until the names are settled.
    std::string nameSource;

    friend bool operator==(const PciListedFunction&, const PciListedFunction&) = default;
};

// The result of the one PCI enumeration of a run: the device list in enumeration order (a row's
// index is also its index in the page's lists) and the platform facts.
struct PciScan {
    std::vector<PciListedFunction> devices;
    PciPlatformFacts facts;
};

// The buses the enumeration covers.
inline constexpr std::uint8_t kLastEnumeratedBus = 9;

// Probes every function of buses 0 to 9 (function innermost, all eight functions of a device
// whatever its header type says): register 0x00 reading 0xFFFFFFFF means no function there.
PciScan enumeratePci(hw::Falwick& pci);

} // namespace solvane::sysinfo
