#pragma once

#include <cstddef>
#include <cstdint>

namespace solvane::sysinfo::ddr4_spd {

// Offsets of the SPD bytes a DDR4 module is decoded from (JEDEC DDR4 SPD layout, 512 bytes in two
// 256-byte pages). Times are in medium time base units of 0.125 ns with a signed fine correction
// in picoseconds further up.
enum Offset : std::uint16_t {
    kMemoryType = 2,         // byte 2: 0x0C
    kModuleType = 3,         // byte 3, bits 3..0: module form
    kDensity = 4,            // byte 4, bits 3..0: capacity of one die
    kPackage = 6,            // byte 6: bit 7 not monolithic, bits 6..4 dies less one, bits 1..0 loading
    kVoltage = 11,           // byte 11, bit 0: 1.2 V operable
    kOrganisation = 12,      // byte 12: bits 2..0 device width, bits 5..3 package ranks less one
    kBusWidth = 13,          // byte 13: bits 2..0 primary bus width, bits 4..3 ECC extension
    kTckMin = 18,            // byte 18: tCKAVGmin
    kTckMax = 19,            // byte 19: tCKAVGmax
    kCasLatencies = 20,      // bytes 20..23: bit i is CL i + 7 (i + 23 with byte 23 bit 7 set)
    kTaaMin = 24,            // byte 24
    kTrcdMin = 25,           // byte 25
    kTrpMin = 26,            // byte 26
    kTrasTrcUpper = 27,      // byte 27: bits 3..0 tRAS, bits 7..4 tRC, upper nibbles
    kTrasMinLow = 28,        // byte 28
    kTrcMinLow = 29,         // byte 29
    kTrcFine = 120,          // byte 120
    kTrpFine = 121,          // byte 121
    kTrcdFine = 122,         // byte 122
    kTaaFine = 123,          // byte 123
    kTckMaxFine = 124,       // byte 124
    kTckMinFine = 125,       // byte 125
    kBaseCrc = 126,          // bytes 126..127: CRC-16 of bytes 0..125, low byte first
    kModuleCrc = 254,        // bytes 254..255: CRC-16 of bytes 128..253
    kManufacturerBank = 320, // byte 320: continuation count in bits 6..0, parity in bit 7
    kManufacturerCode = 321, // byte 321: JEP-106 code with parity
    kYear = 323,             // byte 323: binary-coded decimal
    kWeek = 324,             // byte 324: binary-coded decimal
    kSerial = 325,           // bytes 325..328
    kPartNumber = 329,       // bytes 329..348, ASCII padded with blanks
};

inline constexpr std::uint8_t kTypeCode = 0x0C;
inline constexpr std::size_t kImageBytes = 512;
inline constexpr std::size_t kPartNumberBytes = 20;
inline constexpr unsigned kMtbPicoseconds = 125;

} // namespace solvane::sysinfo::ddr4_spd
