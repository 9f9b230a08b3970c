#pragma once

#include <string>

namespace solvane::sysinfo {

// What the PCI enumeration learns about the platform for the other information pages: the host
// and ISA bridges' makers and chips (motherboard page), the graphics chip, and the bus of the
// IEEE 1394 controller (LED page). Empty texts and bus 0 until a function sets them; when several
// functions qualify, the last one enumerated wins.
struct PciPlatformFacts {
    std::string HostBridgeVendor;
    std::string HostBridgeChip;
    std::string IsaBridgeVendor;
    std::string IsaBridgeChip;
    std::string GraphicsChip;
    int Ieee1394Bus = 0;

    friend bool operator==(const PciPlatformFacts&, const PciPlatformFacts&) = default;
};

} // namespace solvane::sysinfo
