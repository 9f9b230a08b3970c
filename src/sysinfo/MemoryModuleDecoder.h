#pragma once

#include "sysinfo/Ddr3TimingsTable.h"
#include "sysinfo/SpdModuleDetails.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace solvane::sysinfo {

// What the memory page shows of a module beside its type. A size without a table row is shown as the
// empty text.
struct ModuleFieldTexts {
    std::string moduleSize;
    std::string weekYear;
    std::string manufacturer;
    std::string partNumber;
    std::string serialNumber;
    TimingsTable timings;
};

// The decoded texts of one module: its type always; the rest for DDR3, DDR4 and DDR5 modules, as the
// page decodes no older kind further and leaves those fields as they were.
struct MemoryModuleTexts {
    std::string memoryType;
    std::optional<ModuleFieldTexts> ddr3;
    std::optional<SpdModuleDetails> spd; // DDR4 and DDR5

    // The module fields the page shows; none for a kind it does not decode.
    std::optional<ModuleFieldTexts> pageFields() const;
};

// Decodes the SPD bytes of a module: the DDR3 layout, where a byte the image does not hold reads as
// 0xFF as an absent device does on the bus; the DDR4 and DDR5 layouts over the whole image.
MemoryModuleTexts decodeMemoryModule(std::span<const std::uint8_t> spd);

// The page's module fields of a DDR4 or DDR5 module: the form beside the type, the size with the
// ranks and device width ("16384 MBytes (2Rx8)"), and a failed CRC or a short image after it.
ModuleFieldTexts spdFieldTexts(const SpdModuleDetails& module);
// The memory type field: "DDR4 UDIMM".
std::string spdTypeText(const SpdModuleDetails& module);

} // namespace solvane::sysinfo
