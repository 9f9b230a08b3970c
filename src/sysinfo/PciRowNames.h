#pragma once

#include "sysinfo/PciEnumeration.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::sysinfo {

// Where the name in a device-list row came from.
inline constexpr std::string_view kNamedByTables = "tables";
inline constexpr std::string_view kNamedByIdList = "pci.ids";

// The vendor and device names of a function in the PCI ID list; none when the list does not know both.
using PciIdListLookup =
    std::function<std::optional<std::string>(std::uint16_t vendorId, std::uint16_t deviceId)>;

// Names the rows the built-in tables leave as "Unknown" (no vendor row) or "Device" (no class row)
// from the PCI ID list, where the list knows the function; every other row keeps the built-in
// spelling. The platform facts are not changed. Sets each row's nameSource.
void nameRowsFromIdList(PciScan& scan, const PciIdListLookup& lookup);

} // namespace solvane::sysinfo
