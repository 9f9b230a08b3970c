#include "power/BasicPageReadouts.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// 2902, 2905 and 2901 name their bridges NB and SB; every other caption, and every caption on the
// other boards, is the page's own.
// The page's read-outs in page order, each value field with its caption field and text, as the
// dialog template numbers them; the widgets and the report find them by these numbers.
TEST(BasicReadoutCaptions, EachReadoutHasItsValueFieldCaptionFieldAndText) {
    const BasicReadoutControl expected[] = {
        {1057, 1205, "Total Power Saving"},
        {1056, 1206, "Current Power Saving"},
        {1035, 1207, "Power Saving Percentage"},
        {1052, 1208, "Total Power Consumption"},
        {1053, 1146, "Power Consumption"},
        {1054, 1147, "Power Saving"},
        {1055, 1148, "Efficiency"},
        {1034, 1149, "Core Voltage"},
        {1042, 1150, "Temperature"},
        {1045, 1151, "Fan Speed"},
        {1036, 1152, "PWM TRYPH"},
        {1037, 1094, "Memory Voltage"},
        {1038, 1101, "Memory TRYPH"},
        {1039, 1102, "IOH Voltage"},
        {1044, 1153, "IOH Temp."},
        {1041, 1104, "IOH TRYPH"},
        {1040, 1154, "ICH Voltage"},
        {1049, 1155, "3.3V Power\nConsumption"},
        {1050, 1156, "5V Power\nConsumption"},
        {1051, 1157, "12V Power\nConsumption"},
    };
    ASSERT_EQ(kBasicReadouts.size(), std::size(expected));
    for (std::size_t i = 0; i < kBasicReadouts.size(); ++i) {
        EXPECT_EQ(kBasicReadouts[i].valueId, expected[i].valueId) << i;
        EXPECT_EQ(kBasicReadouts[i].captionId, expected[i].captionId) << i;
        EXPECT_EQ(kBasicReadouts[i].caption, expected[i].caption) << i;
    }
    EXPECT_EQ(basic_ids::kMessageLine, 1043);
}

TEST(BasicReadoutCaptions, OnlyTheBridgeCaptionsOfThreeBoardsAreRenamed) {
    for (int board = 2900; board <= 2919; ++board) {
        const bool renamed = board == 2902 || board == 2905 || board == 2901;
        for (const auto& control : kBasicReadouts) {
            std::string_view expected = control.caption;
            if (renamed && control.captionId == basic_ids::kIchVoltageCaption)
                expected = "SB Voltage";
            if (renamed && control.captionId == basic_ids::kIohVoltageCaption)
                expected = "NB Voltage";
            EXPECT_EQ(basicReadoutCaption(board, control), expected)
                << board << " caption " << control.captionId;
        }
    }
}

} // namespace
} // namespace solvane::power
