#pragma once

#include "hw/replay/ReplayResult.h"

#include <cstdint>
#include <span>
#include <vector>

namespace solvane::hw {

// The SMBIOS structure table of a DMI dump, as the firmware library hands it out. Takes either a
// bare table (what Linux shows in /sys/firmware/dmi/tables/DMI) or the file "dmidecode --dump-bin"
// writes: an entry point at offset 0 ("_SM3_", "_SM_" or the legacy "_DMI_") whose table address
// points into the same file (found by readSmbiosDump). Refuses an entry point that readSmbiosDump
// refuses and a table whose first structure cannot be read.
ReplayResult<std::vector<std::uint8_t>> parseDmiDump(std::span<const std::uint8_t> file);

} // namespace solvane::hw
