#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace solvane::sysinfo::ddr3_spd {

// Offsets of the SPD bytes the memory page reads, in the DDR3 layout.
enum Offset : std::uint8_t {
    kMemoryType = 2,
    kDensity = 4,      // SDRAM density and banks
    kOrganisation = 7, // bits 5..3: ranks less one
    kMtbDividend = 10, // medium time base = dividend / divisor nanoseconds
    kMtbDivisor = 11,
    kCasLatenciesLow = 14, // bit i of the 16-bit mask: CAS latency i + 4 supported
    kCasLatenciesHigh = 15,
    kTaaMin = 16, // in medium time base units, as are the times below
    kTrcdMin = 18,
    kTrpMin = 20,
    kTrasTrcUpperNibbles = 21, // bits 3..0 for tRAS, bits 7..4 for tRC
    kTrasMinLow = 22,
    kTrcMinLow = 23,
    kContinuationCount = 117, // manufacturer's bank less one in bits 3..0, parity in bit 7
    kManufacturerCode = 118,  // JEP-106 code with its parity bit
    kYear = 120,              // binary-coded decimal
    kWeek = 121,
    kSerialFirst = 122, // four bytes, shown last byte first
    kSerialLast = 125,
    kPartNumberFirst = 128, // eighteen characters
    kPartNumberLast = 145,
};

// The bytes a DDR3 module is decoded from: its first 146, up to the end of the part number.
inline constexpr std::size_t kDecodedBytes = kPartNumberLast + 1;

// The byte at offset of an image; a byte the image does not hold reads as an absent device does.
inline std::uint8_t byteAt(std::span<const std::uint8_t> spd, std::size_t offset) {
    return offset < spd.size() ? spd[offset] : std::uint8_t{0xFF};
}

} // namespace solvane::sysinfo::ddr3_spd
