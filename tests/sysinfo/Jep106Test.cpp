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

// The DDR3 page's banks, then the later ones the DDR4 and DDR5 decoders add.
std::span<const std::string_view> rowsOf(int bank) {
    return bank <= kJep106Banks ? jep106Bank(bank) : jep106LaterBank(bank);
}

TEST(Jep106Test, CodesRunInOrderWithTheirOddParityBit) {
    for (int bank = 1; bank <= kJep106AllBanks; ++bank) {
        // Bank 6 begins at the second code.
        unsigned number = bank == 6 ? 2 : 1;
        EXPECT_FALSE(rowsOf(bank).empty()) << bank;
        for (std::string_view row : rowsOf(bank)) {
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
    // Later banks name makers of DDR4 and DDR5 modules, never on the DDR3 page.
    EXPECT_EQ(jep106NameAnyBank(11, 0xBA), "Foxline");
    EXPECT_EQ(jep106NameAnyBank(11, 0xC8), "Advantech Co Ltd");
    EXPECT_EQ(jep106NameAnyBank(2, 0x98), "Kingston");
    EXPECT_EQ(jep106NameAnyBank(13, 0x8F), "Shenzhen Monarch Memory Technology"); // the 15th, last code
    EXPECT_EQ(jep106NameAnyBank(14, 0x01), "");
    EXPECT_TRUE(jep106LaterBank(7).empty());
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
