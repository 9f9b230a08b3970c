#include "sysinfo/MemoryTables.h"

#include "hw/TextRow.h"
#include "sysinfo/ByteCodeTable.h"

namespace solvane::sysinfo {

namespace {

constexpr unsigned kRankFieldShift = 3;
constexpr unsigned kRankFieldMask = 0x07;
constexpr unsigned kTwoRanks = 1; // the rank field holds the rank count less one

} // namespace

MemorySlot memorySlot(std::size_t row) {
    std::string_view text = kMemorySlotRows.at(row);
    const auto address = hw::takeRowField(text);
    const auto name = hw::takeRowField(text);
    return {name.value_or(std::string_view{}),
            static_cast<std::uint8_t>(hw::readHexCode(address.value_or(std::string_view{}), 2))};
}

std::string_view memoryTypeText(std::uint8_t typeByte) {
    return findRowText(kMemoryTypeRows, typeByte).value_or(std::string_view{});
}

std::optional<std::string_view> moduleSizeText(std::uint8_t densityByte, std::uint8_t organisationByte) {
    const unsigned rankField = (organisationByte >> kRankFieldShift) & kRankFieldMask;
    if (rankField == kTwoRanks)
        return findRowText(kDualRankSizeRows, densityByte);
    return findRowText(kSingleRankSizeRows, densityByte);
}

} // namespace solvane::sysinfo
