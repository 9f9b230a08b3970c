#pragma once

#include "hw/replay/ReplayResult.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace solvane::hw {

// One PCI function of an "lspci -x" dump: where it sits and the configuration bytes that were
// dumped (64 with -x, 256 with -xxx, 4096 with -xxxx).
struct PciDumpFunction {
    std::uint32_t domain = 0;
    std::uint8_t bus = 0;
    std::uint8_t device = 0;
    std::uint8_t function = 0;
    std::vector<std::uint8_t> config;

    // Register 0x00 bits 15..0 and 31..16, and register 0x08 bits 31..16 (base class and sub-class).
    std::uint16_t vendorId() const;
    std::uint16_t deviceId() const;
    std::uint16_t classCode() const;
};

// Parses the text "lspci -x", "-xxx" or "-xxxx" writes, optionally with -v/-vv detail lines (they
// start with a blank and are skipped): a header line "[DDDD:]BB:DD.F description" per function,
// then rows "OO: hh hh ..." of 16 bytes each from offset 0. Refuses anything else, a function
// without bytes, rows out of order and a function listed twice, naming the line.
ReplayResult<std::vector<PciDumpFunction>> parsePciDump(std::string_view text);

} // namespace solvane::hw
