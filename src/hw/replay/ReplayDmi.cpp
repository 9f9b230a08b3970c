#include "hw/replay/ReplayDmi.h"

#include "hw/smbios/SmbiosDump.h"
#include "hw/smbios/SmbiosTableReader.h"

namespace solvane::hw {

ReplayResult<std::vector<std::uint8_t>> parseDmiDump(std::span<const std::uint8_t> file) {
    using Result = ReplayResult<std::vector<std::uint8_t>>;
    if (file.empty())
        return Result::failure("the file is empty");
    const auto dump = readSmbiosDump(file);
    if (!dump)
        return Result::failure(
            "the SMBIOS entry point at offset 0 is cut short, fails its checksum or places "
            "its table outside the file");
    // The table reader copes with any bytes; this only catches a file that is no SMBIOS data at all.
    SmbiosTableReader reader(dump->table);
    if (!reader.next())
        return Result::failure(dump->kind == SmbiosDumpKind::BareTable
                                   ? "neither an SMBIOS entry point nor a structure table: the file does not "
                                     "start with a readable SMBIOS structure"
                                   : "the table the entry point gives does not start with a readable SMBIOS "
                                     "structure");
    return std::vector<std::uint8_t>(dump->table.begin(), dump->table.end());
}

} // namespace solvane::hw
