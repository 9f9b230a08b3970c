#pragma once

#include "sysinfo/PciConfigSpace.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::sysinfo {

// What Apply says when an entry is empty.
inline constexpr std::string_view kPciEntriesMissingMessage = "Please input Bus / Device / Function number.";

// The bus, device and function entries of the configuration-space view: two hexadecimal digits each.
inline constexpr int kPciEntryDigits = 2;

struct PciEntriesApplied {
    // The entries as they are written back: a single digit gets a leading "0".
    std::array<std::string, 3> entries;
    // The function to show; none when an entry is empty.
    std::optional<PciAddress> address;
};

// Apply on the bus, device and function entries.
PciEntriesApplied applyPciEntries(const std::array<std::string_view, 3>& entries);

// The entries' texts for a shown function ("00", "1F", "03").
std::array<std::string, 3> pciEntryTexts(PciAddress address);

} // namespace solvane::sysinfo
