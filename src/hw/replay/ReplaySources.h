#pragma once

#include "hw/replay/ReplayPci.h"
#include "hw/replay/ReplayResult.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace solvane::hw {

// Real dumps that stand in for parts of a hardware back-end, already parsed.
struct ReplaySources {
    // The SMBIOS structure table served by the firmware library.
    std::optional<std::vector<std::uint8_t>> dmiTable;
    // SPD EEPROM contents keyed by the EEPROM's 8-bit SMBus write address (0xA0, 0xA2, ... 0xAE).
    std::map<std::uint8_t, std::vector<std::uint8_t>> spdImages;
    // Every PCI function of the machine; functions that are not listed are absent.
    std::optional<std::vector<PciDumpFunction>> pciFunctions;

    bool empty() const { return !dmiTable && spdImages.empty() && !pciFunctions; }
};

// The replay options as given on the command line; empty paths and lists replay nothing.
struct ReplayFiles {
    std::filesystem::path dmi;    // --dmi FILE
    std::vector<std::string> spd; // --spd SLOT=FILE, once per slot
    std::filesystem::path pci;    // --pci FILE
};

// Reads and parses every file. The error names the option and the file, then what is wrong, for
// example "--spd DIMM_A0=a.txt: line 3: 'zz' is not a hexadecimal byte".
ReplayResult<ReplaySources> loadReplaySources(const ReplayFiles& files);

} // namespace solvane::hw
