#pragma once

#include <cstddef>
#include <cstdint>

namespace solvane::sysinfo::ddr5_spd {

// Offsets of the SPD bytes a DDR5 module is decoded from (JEDEC DDR5 SPD layout, 1024 bytes behind
// the SPD hub). Times are 16-bit picosecond counts, low byte first.
enum Offset : std::uint16_t {
    kMemoryType = 2,     // byte 2: 0x12
    kModuleType = 3,     // byte 3, bits 3..0: module form
    kDensity = 4,        // byte 4: bits 4..0 capacity of one die, bits 7..5 dies per package
    kIoWidth = 6,        // byte 6, bits 7..5: device width
    kVoltage = 16,       // byte 16, bits 7..4: VDD nominal, 0 = 1.1 V
    kTckMin = 20,        // bytes 20..21: tCKAVGmin
    kTckMax = 22,        // bytes 22..23: tCKAVGmax
    kCasLatencies = 24,  // bytes 24..28: bit i is CL 20 + 2i
    kTaaMin = 30,        // bytes 30..31
    kTrcdMin = 32,       // bytes 32..33
    kTrpMin = 34,        // bytes 34..35
    kTrasMin = 36,       // bytes 36..37
    kTrcMin = 38,        // bytes 38..39
    kOrganisation = 234, // byte 234, bits 5..3: package ranks per channel less one
    kBusWidth = 235,     // byte 235: bits 2..0 width per sub-channel, 4..3 ECC, 6..5 sub-channels less one
    kCrc = 510,          // bytes 510..511: CRC-16 of bytes 0..509, low byte first
    kManufacturerBank = 512, // byte 512: continuation count in bits 6..0, parity in bit 7
    kManufacturerCode = 513, // byte 513: JEP-106 code with parity
    kYear = 515,             // byte 515: binary-coded decimal
    kWeek = 516,             // byte 516: binary-coded decimal
    kSerial = 517,           // bytes 517..520
    kPartNumber = 521,       // bytes 521..550, ASCII padded with blanks
};

inline constexpr std::uint8_t kTypeCode = 0x12;
inline constexpr std::size_t kImageBytes = 1024;
inline constexpr std::size_t kPartNumberBytes = 30;

} // namespace solvane::sysinfo::ddr5_spd
