#include "sysinfo/MemoryTables.h"

#include "sysinfo/ByteCodeTable.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

TEST(MemoryTablesTest, TheSixSlotsAndTheirAddresses) {
    const std::array<std::pair<const char*, std::uint8_t>, 6> slots{{
        {"DIMM_A0", 0xA0},
        {"DIMM_A1", 0xA2},
        {"DIMM_B0", 0xA4},
        {"DIMM_B1", 0xA6},
        {"DIMM_C0", 0xA8},
        {"DIMM_C1", 0xAA},
    }};
    for (std::size_t row = 0; row < slots.size(); ++row) {
        EXPECT_EQ(memorySlot(row).name, slots[row].first);
        EXPECT_EQ(memorySlot(row).address, slots[row].second);
    }
}

TEST(MemoryTablesTest, ThePartNumberTableMapsEachKeptCharacterToItself) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        const auto text = findRowText(kPartNumberCharacterRows, static_cast<std::uint8_t>(byte));
        EXPECT_EQ(text.has_value(), kept) << byte;
        if (text && kept) {
            EXPECT_EQ(*text, std::string(1, c));
        }
    }
}

TEST(MemoryTablesTest, RowsAreSearchedInOrderAndSizesYieldTheirLeadingNumber) {
    constexpr std::array<std::string_view, 4> rows{"0x0b;first;", " 0x0B ; second ;", "zz;zero;", "0x41"};
    EXPECT_EQ(findRowText(rows, 0x0B), "first"); // hexadecimal digits in either case
    EXPECT_EQ(findRowText(rows, 0x00), "zero");  // a code that is not hexadecimal reads as 0
    EXPECT_FALSE(findRowText(rows, 0x41));       // an unterminated field is no code
    EXPECT_EQ(leadingNumber("512 MBytes"), 512U);
    EXPECT_EQ(leadingNumber("8192 MBytes (8 Gb)"), 8192U);
    EXPECT_EQ(leadingNumber("MBytes"), 0U);
    EXPECT_EQ(leadingNumber(""), 0U);
}

} // namespace
} // namespace solvane::sysinfo
