#pragma once

#include "host/CpuInfo.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace solvane::host {

// The firmware identity without root. The kernel shows the SMBIOS table itself to root only, but
// the strings the program reads from it to every user, one file each under <sysfs>/class/dmi/id,
// and the processor under /proc/cpuinfo. From those this builds the structures the identification
// reads (BIOS, system, baseboard, processor, end of table), so the pages and the report show the
// same fields as from the real table. A field neither source holds is left without a string; a
// processor record without clock fields, as the kernel does not give the external clock.
// Empty when the folder holds none of the attributes.
std::vector<std::uint8_t> smbiosTableFromDmiId(const std::filesystem::path& dmiIdFolder, const CpuInfo& cpu);

} // namespace solvane::host
