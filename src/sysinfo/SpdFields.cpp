#include "sysinfo/SpdFields.h"

#include "sysinfo/Jep106.h"

#include <algorithm>
#include <cstdio>

namespace solvane::sysinfo::spd_fields {

namespace {

constexpr std::uint16_t kCrcPolynomial = 0x1021;
constexpr unsigned kContinuationMask = 0x7F; // bit 7 is the parity bit
constexpr int kCenturyYears = 2000;
constexpr int kWeeksInYear = 53;

std::optional<int> bcd(std::uint8_t byte) {
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

} // namespace

std::uint16_t crc16(std::span<const std::uint8_t> bytes) {
    unsigned crc = 0;
    for (const auto byte : bytes) {
        crc ^= static_cast<unsigned>(byte) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000U) != 0 ? (crc << 1) ^ kCrcPolynomial : crc << 1;
    }
    return static_cast<std::uint16_t>(crc & 0xFFFFU);
}

SpdCrcCheck crcCheck(std::span<const std::uint8_t> spd, std::size_t first, std::size_t last,
                     std::size_t storedAt) {
    SpdCrcCheck check;
    check.bytes = std::to_string(first) + "-" + std::to_string(last);
    check.stored = static_cast<std::uint16_t>(spd[storedAt] | spd[storedAt + 1] << 8);
    check.computed = crc16(spd.subspan(first, last - first + 1));
    return check;
}

std::string manufacturer(std::uint8_t continuation, std::uint8_t code) {
    return std::string(jep106NameAnyBank(static_cast<int>(continuation & kContinuationMask) + 1, code));
}

std::string asciiField(std::span<const std::uint8_t> spd, std::size_t offset, std::size_t count) {
    std::string text;
    for (const auto byte : spd.subspan(offset, count))
        if (byte >= 0x20 && byte < 0x7F)
            text += static_cast<char>(byte);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string hexField(std::span<const std::uint8_t> spd, std::size_t offset, std::size_t count) {
    std::string text;
    for (const auto byte : spd.subspan(offset, count)) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%.2X", byte);
        text += digits;
    }
    return text;
}

void manufactureDate(std::uint8_t yearBcd, std::uint8_t weekBcd, SpdModuleDetails& module) {
    const auto year = bcd(yearBcd);
    const auto week = bcd(weekBcd);
    // A module without a date stores zeros (or erased 0xFF bytes, which are no decimal digits).
    if (!year || !week || *week == 0 || *week > kWeeksInYear)
        return;
    module.year = kCenturyYears + *year;
    module.week = *week;
}

void decodeManufacturing(std::span<const std::uint8_t> spd, const ManufacturingLayout& layout,
                         SpdModuleDetails& module) {
    constexpr std::size_t kSerialBytes = 4;
    module.manufacturer = manufacturer(spd[layout.bank], spd[layout.code]);
    manufactureDate(spd[layout.year], spd[layout.week], module);
    module.serialNumber = hexField(spd, layout.serial, kSerialBytes);
    module.partNumber = asciiField(spd, layout.partNumber, layout.partNumberBytes);
}

int casLatencyCovering(const std::vector<int>& latencies, int clocks) {
    const auto found = std::lower_bound(latencies.begin(), latencies.end(), clocks);
    return found == latencies.end() ? 0 : *found;
}

int dataRate(int periodPicoseconds, std::span<const StandardSpeed> standard) {
    for (const auto& speed : standard)
        if (speed.periodPicoseconds == periodPicoseconds)
            return speed.mts;
    return (2'000'000 + periodPicoseconds / 2) / periodPicoseconds;
}

} // namespace solvane::sysinfo::spd_fields
