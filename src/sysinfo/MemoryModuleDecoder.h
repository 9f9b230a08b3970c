#pragma once

#include "sysinfo/Ddr3TimingsTable.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace solvane::sysinfo {

// What the memory page shows of a DDR3 module beside its type. A size without a table row is shown
// as the empty text.
struct Ddr3ModuleTexts {
    std::string moduleSize;
    std::string weekYear;
    std::string manufacturer;
    std::string partNumber;
    std::string serialNumber;
    TimingsTable timings;
};

// The decoded texts of one module: its type always; the rest for a DDR3 module only, as the page
// decodes no other kind further and leaves those fields as they were.
struct MemoryModuleTexts {
    std::string memoryType;
    std::optional<Ddr3ModuleTexts> ddr3;
};

// Decodes the SPD bytes of a module (DDR3 layout; a byte the image does not hold reads as 0xFF, as an
// absent device does on the bus).
MemoryModuleTexts decodeMemoryModule(std::span<const std::uint8_t> spd);

} // namespace solvane::sysinfo
