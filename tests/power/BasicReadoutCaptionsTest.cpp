#include "power/BasicPageReadouts.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// 2902, 2905 and 2901 name their bridges NB and SB; every other caption, and every caption on the
// other boards, is the page's own.
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
