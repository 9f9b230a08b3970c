#include "sysinfo/BridgeRows.h"

#include <string_view>

namespace solvane::sysinfo {

namespace {

// Vendor texts as the PCI vendor table spells them.
constexpr std::string_view kIntel = "Intel";
constexpr std::string_view kNvidia = "NVidia";

struct Captions {
    std::string_view north;
    std::string_view south;
};
constexpr Captions kIntelCaptions{"IOH ", "ICH "};
constexpr Captions kOtherCaptions{"NB", "SB"};

} // namespace

BridgeRows bridgeRows(const PciPlatformFacts& facts) {
    const auto& captions = facts.IsaBridgeVendor == kIntel ? kIntelCaptions : kOtherCaptions;
    BridgeRows rows{{std::string(captions.north), facts.HostBridgeVendor, facts.HostBridgeChip},
                    {std::string(captions.south), facts.IsaBridgeVendor, facts.IsaBridgeChip}};
    if (facts.IsaBridgeVendor == kNvidia) {
        rows.north.vendor = facts.IsaBridgeVendor;
        rows.north.chip = facts.IsaBridgeChip;
    }
    return rows;
}

} // namespace solvane::sysinfo
