#pragma once

#include "sim/boards/MemoryModule.h"
#include "sim/boards/ProcessorModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace solvane::sim {

// What a board's firmware tells about itself in its SMBIOS tables.
struct SmbiosIdentity {
    int boardCode = 0;
    std::string maker;            // system, baseboard and chassis manufacturer
    std::string systemProduct;    // type 1 product name
    std::string baseboardProduct; // type 2 product name
    std::string baseboardVersion;
    std::string baseboardSerial;
    std::string biosVendor;
    std::string biosVersion;
    std::string biosDate;
    const ProcessorModel* processor = nullptr;
    std::vector<MemoryModule> modules;
};

// The SMBIOS 2.5 structure table: BIOS (type 0), system (1), baseboard (2), chassis (3), processor (4),
// physical memory array (16), one memory device per DIMM slot (17) and the end-of-table structure
// (127). Each structure is a formatted area followed by its strings, the set ending in a double zero.
std::vector<std::uint8_t> buildSmbiosTable(const SmbiosIdentity& identity);

} // namespace solvane::sim
