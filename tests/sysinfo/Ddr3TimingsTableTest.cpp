#include "sysinfo/Ddr3TimingsTable.h"

#include "sysinfo/SpdBytes.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

using test::ddr3Module;

constexpr auto kFrequency = rowIndex(TimingRow::Frequency);
constexpr auto kCas = rowIndex(TimingRow::CasLatency);
constexpr auto kRasToCas = rowIndex(TimingRow::RasToCas);
constexpr auto kPrecharge = rowIndex(TimingRow::RasPrecharge);
constexpr auto kTras = rowIndex(TimingRow::Tras);
constexpr auto kTrc = rowIndex(TimingRow::Trc);
constexpr auto kVoltage = rowIndex(TimingRow::Voltage);

// A module whose only latency is cl, with the given time base and minimum times (in time base units).
std::vector<std::uint8_t> oneLatency(int cl, std::uint8_t dividend, std::uint8_t divisor, std::uint8_t tAA,
                                     unsigned tRAS) {
    auto spd = ddr3Module();
    const unsigned mask = 1U << (cl - 4);
    spd[10] = dividend;
    spd[11] = divisor;
    spd[14] = static_cast<std::uint8_t>(mask & 0xFF);
    spd[15] = static_cast<std::uint8_t>(mask >> 8);
    spd[16] = tAA;
    spd[21] = static_cast<std::uint8_t>((spd[21] & 0xF0) | (tRAS >> 8));
    spd[22] = static_cast<std::uint8_t>(tRAS & 0xFF);
    return spd;
}

TEST(Ddr3TimingsTableTest, EachColumnShowsOneLatencyOfTheModule) {
    // 13.125 ns at CL 6, 7, 8 and 9; tRCD = tRP = 105, tRAS = 288, tRC = 393 units of 1/8 ns.
    const auto table = ddr3TimingsTable(ddr3Module());
    const std::array<std::array<const char*, 7>, 4> expected{{
        {"457 MHz", "6.0", "6", "6", "17", "23", "1.5 V"},
        {"533 MHz", "7.0", "7", "7", "20", "27", "1.5 V"},
        {"610 MHz", "8.0", "9", "9", "22", "30", "1.5 V"},
        {"686 MHz", "9.0", "10", "10", "25", "34", "1.5 V"},
    }};
    for (std::size_t column = 0; column < 4; ++column) {
        ASSERT_TRUE(table[column].has_value()) << column;
        for (std::size_t row = 0; row < kTimingRows; ++row)
            EXPECT_EQ((*table[column])[row], expected[column][row]) << "column " << column << " row " << row;
    }
}

TEST(Ddr3TimingsTableTest, TheWorkedExampleCountsClocksOfTheReplacedPeriod) {
    // 13.125 ns at CL 9: tCK = 1.4583 after cutting to four places, 1000 / 1.4583 = 685.7 shows as
    // 686 MHz, and as that is above 535 the rows count clocks of 10000 / 6858 ns. A tRC of 2683 units
    // (335.375 ns) is 229.98 clocks of 1.4583 ns but 230.0002 of 10000 / 6858 ns.
    auto spd = oneLatency(9, 1, 8, 105, 288);
    spd[21] = static_cast<std::uint8_t>(0xA0 | (spd[21] & 0x0F));
    spd[23] = 0x7B;
    const auto table = ddr3TimingsTable(spd);
    ASSERT_TRUE(table[0].has_value());
    EXPECT_EQ((*table[0])[kFrequency], "686 MHz");
    EXPECT_EQ((*table[0])[kCas], "9.0");
    EXPECT_EQ((*table[0])[kRasToCas], "10"); // 13.125 ns × 6858 / 10000 = 9.0011
    EXPECT_EQ((*table[0])[kTrc], "231");
    EXPECT_FALSE(table[1].has_value());
}

TEST(Ddr3TimingsTableTest, TheReplacementStartsAbove535MegahertzOnly) {
    // Just below: 24.3 ns at CL 13 gives tCK = 1.8692 and 534.99 MHz; the rows keep 1.8692 ns, so a
    // tRAS of 224.3 ns is 119.998 clocks (with 10000 / 5350 ns it would be 120.0002).
    const auto below = ddr3TimingsTable(oneLatency(13, 1, 10, 243, 2243));
    ASSERT_TRUE(below[0].has_value());
    EXPECT_EQ((*below[0])[kFrequency], "535 MHz");
    EXPECT_EQ((*below[0])[kTras], "120");
    // Just above: 157/7 ns at CL 12 gives tCK = 1.8690 and 535.05 MHz; the rows use 10000 / 5351 ns,
    // so a tRAS of 798/7 ns is 61.003 clocks (with 1.8690 ns it would be 60.997).
    const auto above = ddr3TimingsTable(oneLatency(12, 1, 7, 157, 798));
    ASSERT_TRUE(above[0].has_value());
    EXPECT_EQ((*above[0])[kFrequency], "535 MHz");
    EXPECT_EQ((*above[0])[kTras], "62");
}

TEST(Ddr3TimingsTableTest, OnlyTheFourLowestLatenciesGetAColumn) {
    auto spd = ddr3Module();
    spd[14] = 0x7E; // latencies 5, 6, 7, 8, 9 and 10
    const auto table = ddr3TimingsTable(spd);
    const std::array<const char*, 4> latencies{"5.0", "6.0", "7.0", "8.0"};
    for (std::size_t column = 0; column < 4; ++column) {
        ASSERT_TRUE(table[column].has_value());
        EXPECT_EQ((*table[column])[kCas], latencies[column]);
    }
}

TEST(Ddr3TimingsTableTest, ColumnsBeyondTheLatencyListStayEmpty) {
    auto spd = ddr3Module();
    spd[14] = 0x0C; // latencies 6 and 7
    const auto table = ddr3TimingsTable(spd);
    EXPECT_TRUE(table[0].has_value());
    EXPECT_TRUE(table[1].has_value());
    EXPECT_FALSE(table[2].has_value());
    EXPECT_FALSE(table[3].has_value());

    spd[14] = 0x00;
    spd[15] = 0x40; // latency 18 only, from the high byte
    const auto high = ddr3TimingsTable(spd);
    ASSERT_TRUE(high[0].has_value());
    EXPECT_EQ((*high[0])[kCas], "18.0");
    EXPECT_FALSE(high[1].has_value());
}

TEST(Ddr3TimingsTableTest, UpperNibblesOfByte21BelongToTrcAndTheLowerToTras) {
    // tRAS = 0x2 20 = 544 units = 68 ns, tRC = 0x1 89 = 393 units = 49.125 ns, at CL 6 (2.1875 ns).
    auto spd = ddr3Module();
    spd[21] = 0x12;
    const auto table = ddr3TimingsTable(spd);
    ASSERT_TRUE(table[0].has_value());
    EXPECT_EQ((*table[0])[kTras], "32"); // 68 / 2.1875 = 31.09
    EXPECT_EQ((*table[0])[kTrc], "23");  // 49.125 / 2.1875 = 22.46
    EXPECT_EQ((*table[0])[kPrecharge], "6");
    EXPECT_EQ((*table[0])[kVoltage], "1.5 V");
}

TEST(Ddr3TimingsTableTest, AZeroTimeBaseOrAccessTimeFillsNoColumn) {
    for (const std::size_t offset : {10U, 11U, 16U}) {
        auto spd = ddr3Module();
        spd[offset] = 0;
        const auto table = ddr3TimingsTable(spd);
        for (const auto& column : table)
            EXPECT_FALSE(column.has_value()) << "byte " << offset;
    }
}

TEST(Ddr3TimingsTableTest, ExtremeBytesGiveFiniteTexts) {
    // The smallest and the largest periods the bytes allow: every text is a number.
    for (const auto& [dividend, divisor, tAA] : {std::tuple{1, 255, 1}, std::tuple{255, 1, 255}}) {
        auto spd = ddr3Module();
        spd[10] = static_cast<std::uint8_t>(dividend);
        spd[11] = static_cast<std::uint8_t>(divisor);
        spd[14] = 0xFF;
        spd[15] = 0xFF;
        spd[16] = static_cast<std::uint8_t>(tAA);
        spd[21] = 0xFF;
        spd[22] = 0xFF;
        spd[23] = 0xFF;
        for (const auto& column : ddr3TimingsTable(spd)) {
            ASSERT_TRUE(column.has_value());
            for (const auto& text : *column)
                EXPECT_EQ(text.find_first_of("ni"), std::string::npos) << text; // no "inf", no "nan"
        }
    }
}

} // namespace
} // namespace solvane::sysinfo
