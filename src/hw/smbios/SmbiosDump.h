#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace solvane::hw {

// The two forms in which SMBIOS data is saved from real machines.
enum class SmbiosDumpKind {
    BareTable,        // the structure table alone, as /sys/firmware/dmi/tables/DMI holds it
    EntryPoint21,     // "_SM_" entry point (SMBIOS 2.1 and later) at offset 0, table where it points
    LegacyEntryPoint, // "_DMI_" entry point of the older DMI standard
    EntryPoint30,     // "_SM3_" 64-bit entry point (SMBIOS 3.0 and later)
};

struct SmbiosDump {
    SmbiosDumpKind kind = SmbiosDumpKind::BareTable;
    std::span<const std::uint8_t> table; // inside the bytes given to readSmbiosDump
    std::uint8_t majorVersion = 0;       // 0 when the dump does not say (a bare table)
    std::uint8_t minorVersion = 0;
};

// Finds the structure table in a saved dump. A file that starts with an entry-point anchor is read
// as a dump with the entry point at offset 0 and the table at the address it gives (dump files
// rewrite that address to an offset in the file); anything else is taken as a bare table. Refused
// (empty) when an entry point is cut short, fails its checksum, or places its table outside the
// file. A table that the file cuts short is kept as far as it goes: the table reader stops safely
// at its end.
std::optional<SmbiosDump> readSmbiosDump(std::span<const std::uint8_t> file);

} // namespace solvane::hw
