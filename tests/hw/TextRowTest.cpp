#include "hw/TextRow.h"

#include "hw/BoardModelNames.h"
#include "hw/CodeLists.h"

#include <gtest/gtest.h>

namespace solvane::hw {
namespace {

TEST(TextRow, TakesSemicolonEndedFieldsTrimmedOfBlanks) {
    std::string_view row = " 0x0B ;DDR3 SDRAM;  ;tail";
    EXPECT_EQ(takeRowField(row), "0x0B");
    EXPECT_EQ(takeRowField(row), "DDR3 SDRAM");
    EXPECT_EQ(takeRowField(row), "") << "a blank field is an empty field, not the end";
    EXPECT_EQ(takeRowField(row), std::nullopt) << "an unterminated tail is not a field";
    EXPECT_EQ(row, "tail");

    std::string_view empty;
    EXPECT_EQ(takeRowField(empty), std::nullopt);
}

TEST(TextRow, ReadsCodesAsHexadecimalAfterThePrefix) {
    EXPECT_EQ(readHexCode("0x0B", 2), 0x0BU);
    EXPECT_EQ(readHexCode("0xab", 2), 0xABU);
    EXPECT_EQ(readHexCode("0xB", 2), 0x0BU);
    EXPECT_EQ(readHexCode("0x2307", 2), 0x23U) << "a byte code reads two digits";
    EXPECT_EQ(readHexCode("0x2307", 4), 0x2307U);
    EXPECT_EQ(readHexCode("106A4", 5), 0x106A4U);
    EXPECT_EQ(readHexCode("0xZ1", 2), 0x01U) << "a character that is no digit counts as 0";
    EXPECT_EQ(readHexCode("", 2), 0U);
    EXPECT_EQ(readHexCode("0x", 2), 0U);
}

TEST(BoardModelNames, FindsRecordsByExactCodeAndNamesByNumber) {
    const auto birch = findBoardModelNameRecord("2904");
    ASSERT_TRUE(birch);
    const char* expected[] = {"Birch-B1", "Birch-B2", "Birch-B3", "Birch-B4", "Birch-B5"};
    for (std::size_t n = 1; n <= 5; ++n)
        EXPECT_EQ(boardModelName(*birch, n), expected[n - 1]);
    EXPECT_EQ(boardModelName(*birch, 6), "");
    EXPECT_EQ(boardModelName(*birch, 0), "");

    EXPECT_EQ(boardModelName(*findBoardModelNameRecord("2917"), 1), "Elm-E4");
    EXPECT_EQ(boardModelName(*findBoardModelNameRecord("2913"), 1), "Birch-B6")
        << "known, though not supported";
    EXPECT_EQ(boardModelName(*findBoardModelNameRecord("2908"), 2), "") << "2908 has one name only";
    EXPECT_FALSE(findBoardModelNameRecord("2918")) << "2918 has no model-name record";
    EXPECT_FALSE(findBoardModelNameRecord("290"));
    EXPECT_FALSE(findBoardModelNameRecord("106A4")) << "processor records are not board records";
}

TEST(BoardModelNames, NeighbourRecordsReadInTheSameFieldForm) {
    std::string_view superIo = kSuperIoChipRecords[0];
    EXPECT_EQ(readHexCode(*takeRowField(superIo), 4), 0x2307U);
    EXPECT_EQ(takeRowField(superIo), "F71889F");
    std::string_view processor = kProcessorCodenameRecords[1];
    EXPECT_EQ(readHexCode(*takeRowField(processor), 5), 0x106A2U);
    EXPECT_EQ(takeRowField(processor), "Nehalem Bloomfield");
}

// The codes where each list changes from one run of register steps to the next.
TEST(CodeLists, ChangeRunsWhereTheRegulatorsChangeDirection) {
    EXPECT_EQ(kCodeListA[0], 0x50);
    EXPECT_EQ(kCodeListA[17], 0x01);
    EXPECT_EQ(kCodeListB[0], 0xD0);
    EXPECT_EQ(kCodeListC[0], 0x9F);
    EXPECT_EQ(kCodeListC[32], 0x01);

    EXPECT_EQ(k2911CpuVoltageCodes[15], 0xC1);
    EXPECT_EQ(k2911CpuVoltageCodes[16], 0x80);
    EXPECT_EQ(k2911CpuVoltageCodes[17], 0x81);
    EXPECT_EQ(k2911CpuVoltageCodes[79], 0xBF);
    EXPECT_EQ(k2911DdrVoltageCodes[30], 0x81);
    EXPECT_EQ(k2911DdrVoltageCodes[31], 0x00);
    EXPECT_EQ(k2911DdrVoltageCodes[40], 0x09);
    EXPECT_EQ(k2911DdrVoltageCodes[42], 0x0B);
    EXPECT_EQ(k2911MchVoltageCodes[6], 0x41);
    EXPECT_EQ(k2911MchVoltageCodes[7], 0x00);
    EXPECT_EQ(k2911MchVoltageCodes[8], 0x01);
    EXPECT_EQ(k2911IchVoltageCodes[15], 0x41);
    EXPECT_EQ(k2911IchVoltageCodes[16], 0x00);
    EXPECT_EQ(k2911IchVoltageCodes[17], 0x01);

    EXPECT_EQ(k2902CpuVoltageCodes[0], 0xD0);
    EXPECT_EQ(k2902CpuVoltageCodes[14], 0x50);
    EXPECT_EQ(k2902CpuVoltageCodes[30], 0x00);
    EXPECT_EQ(k2902CpuVoltageCodes[31], 0x02);
    EXPECT_EQ(k2902CpuVoltageCodes[65], 0x84);
    EXPECT_EQ(k2902VttFsbVoltageCodes[0], 0x45);
    EXPECT_EQ(k2902VttFsbVoltageCodes[12], 0xC3);
}

} // namespace
} // namespace solvane::hw
