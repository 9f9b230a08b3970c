#pragma once

#include "sysinfo/PciPlatformFacts.h"

#include <string>

namespace solvane::sysinfo {

// One bridge row of the motherboard information page: its caption, the bridge's maker and chip.
struct BridgeRow {
    std::string caption;
    std::string vendor;
    std::string chip;

    friend bool operator==(const BridgeRow&, const BridgeRow&) = default;
};

struct BridgeRows {
    BridgeRow north;
    BridgeRow south;
};

// The host- and ISA-bridge rows from the PCI scan's facts. An Intel south bridge keeps the Intel
// captions "IOH " and "ICH "; any other (or none) reads "NB" and "SB". An NVIDIA chipset is one chip
// serving both rows, so its north row shows the south bridge's maker and chip.
BridgeRows bridgeRows(const PciPlatformFacts& facts);

} // namespace solvane::sysinfo
