#include "sysinfo/Jep106.h"

#include "hw/TextRow.h"

#include <bit>
#include <gtest/gtest.h>
#include <set>

namespace solvane::sysinfo {
namespace {

TEST(Jep106Test, EachBankHoldsItsCountOfRows) {
    const std::array<std::size_t, 7> counts{126, 126, 126, 126, 126, 125, 79};
    for (int bank = 1; bank <= kJep106Banks; ++bank)
        EXPECT_EQ(jep106Bank(bank).size(), counts[static_cast<std::size_t>(bank - 1)]) << "bank " << bank;
    EXPECT_TRUE(jep106Bank(0).empty());
    EXPECT_TRUE(jep106Bank(8).empty());
}

TEST(Jep106Test, CodesRunInOrderWithTheirOddParityBit) {
    for (int bank = 1; bank <= kJep106Banks; ++bank) {
        // Bank 6 begins at the second code.
        unsigned number = bank == 6 ? 2 : 1;
        for (std::string_view row : jep106Bank(bank)) {
            const auto code = hw::takeRowField(row);
            const auto name = hw::takeRowField(row);
            ASSERT_TRUE(code && name) << bank;
            EXPECT_FALSE(name->empty()) << bank << " " << *code;
            EXPECT_TRUE(row.empty()) << "a row holds a code and a name: " << *code;
            const auto value = hw::readHexCode(*code, 2);
            EXPECT_EQ(value & 0x7F, number) << "bank " << bank << " " << *code;
            EXPECT_EQ(std::popcount(value) % 2, 1) << "bank " << bank << " " << *code;
            ++number;
        }
    }
}

TEST(Jep106Test, NamesAreFoundByBankAndFullCode) {
    EXPECT_EQ(jep106Bank(1).front(), "0x01;AMD;");
    EXPECT_EQ(jep106Name(1, 0x01), "AMD");
    EXPECT_EQ(jep106Name(1, 0xCE), "Samsung");
    EXPECT_EQ(jep106Name(1, 0x2C), "Micron Technology");
    EXPECT_EQ(jep106Name(1, 0xAD), "SK Hynix (former Hyundai Electronics)");
    EXPECT_EQ(jep106Name(2, 0x98), "Kingston");
    EXPECT_EQ(jep106Name(3, 0x9E), "Corsair");
    EXPECT_EQ(jep106Name(3, 0xFE), "Elpida");
    EXPECT_EQ(jep106Name(5, 0xCD), "G Skill Intl");
    EXPECT_EQ(jep106Name(6, 0x9B), "Crucial Technology");
    EXPECT_EQ(jep106Name(1, 0x00), "");
    EXPECT_EQ(jep106Name(1, 0x7F), ""); // the continuation code itself
    EXPECT_EQ(jep106Name(7, 0x4F), "TOPRAM Technology");
    EXPECT_EQ(jep106Name(7, 0xD0), ""); // the 80th code, beyond the table
    EXPECT_EQ(jep106Name(8, 0x01), "");
}

TEST(Jep106Test, EveryCodeOfABankIsUnique) {
    for (int bank = 1; bank <= kJep106Banks; ++bank) {
        std::set<std::uint32_t> codes;
        for (std::string_view row : jep106Bank(bank))
            EXPECT_TRUE(codes.insert(hw::readHexCode(*hw::takeRowField(row), 2)).second) << bank;
    }
}

} // namespace
} // namespace solvane::sysinfo
