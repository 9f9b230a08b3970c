#include "sysinfo/MemoryModuleDecoder.h"

#include "sysinfo/ByteCodeTable.h"
#include "sysinfo/Ddr3SpdLayout.h"
#include "sysinfo/Jep106.h"
#include "sysinfo/MemoryTables.h"

#include <cstdio>

namespace solvane::sysinfo {

namespace {

using namespace ddr3_spd;

// The continuation count lives in the low four bits; bit 7 is its parity.
constexpr unsigned kContinuationMask = 0x0F;

std::string hexByte(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%.2X", byte);
    return text;
}

std::string partNumber(std::span<const std::uint8_t> spd) {
    std::string part;
    for (std::size_t offset = kPartNumberFirst; offset <= kPartNumberLast; ++offset)
        if (const auto character = findRowText(kPartNumberCharacterRows, byteAt(spd, offset)))
            part += *character;
    return part;
}

std::string serialNumber(std::span<const std::uint8_t> spd) {
    std::string serial;
    for (std::size_t offset = kSerialLast + 1; offset-- > kSerialFirst;)
        serial += hexByte(byteAt(spd, offset));
    return serial;
}

std::string manufacturer(std::span<const std::uint8_t> spd) {
    const int bank = static_cast<int>(byteAt(spd, kContinuationCount) & kContinuationMask) + 1;
    return std::string(jep106Name(bank, byteAt(spd, kManufacturerCode)));
}

} // namespace

MemoryModuleTexts decodeMemoryModule(std::span<const std::uint8_t> spd) {
    const std::uint8_t type = byteAt(spd, kMemoryType);
    MemoryModuleTexts texts{std::string(memoryTypeText(type)), std::nullopt};
    if (type != kDdr3TypeCode)
        return texts;
    Ddr3ModuleTexts ddr3;
    ddr3.moduleSize = std::string(
        moduleSizeText(byteAt(spd, kDensity), byteAt(spd, kOrganisation)).value_or(std::string_view{}));
    ddr3.partNumber = partNumber(spd);
    ddr3.serialNumber = serialNumber(spd);
    ddr3.manufacturer = manufacturer(spd);
    // Week and year are binary-coded decimal: printed in hexadecimal they show their decimal digits.
    ddr3.weekYear = hexByte(byteAt(spd, kWeek)) + " / " + hexByte(byteAt(spd, kYear));
    ddr3.timings = ddr3TimingsTable(spd);
    texts.ddr3 = std::move(ddr3);
    return texts;
}

} // namespace solvane::sysinfo
