// The pictures of the basic page: each panel's heading picture and the four state pictures of each
// mode button (normal, pressed, hover, disabled), with the button's tooltip, as the page's dialog
// resources name them.
#include "power/pages/BasicPageLayout.h"

#include <gtest/gtest.h>

namespace solvane::power::pages {
namespace {

TEST(BasicPagePictures, EachPanelHeadingAndModeButtonShowsItsResourcePictures) {
    const std::array<std::pair<int, int>, 3> headings{{
        {basic_ids::kCpuTitle, 267},
        {basic_ids::kMemoryTitle, 272},
        {basic_ids::kIchTitle, 273},
    }};
    for (std::size_t i = 0; i < headings.size(); ++i) {
        EXPECT_EQ(kPanels[i].titleId, headings[i].first) << i;
        EXPECT_EQ(kPanels[i].titleBitmap, headings[i].second) << i;
    }
    const struct {
        int controlId;
        std::array<int, 4> pictures;
        std::string_view tooltip;
    } buttons[] = {
        {basic_ids::kDefaultMode, {168, 170, 171, 169}, "Default Mode"},
        {basic_ids::kOptimizeMode, {176, 166, 167, 178}, "Optimize Mode"},
        {basic_ids::kMaxMode, {172, 174, 175, 173}, "Max Power Saving Mode"},
    };
    ASSERT_EQ(kModeButtons.size(), std::size(buttons));
    for (std::size_t i = 0; i < kModeButtons.size(); ++i) {
        EXPECT_EQ(kModeButtons[i].controlId, buttons[i].controlId) << i;
        EXPECT_EQ(kModeButtons[i].bitmaps, buttons[i].pictures) << i;
        EXPECT_EQ(kModeButtons[i].tooltip, buttons[i].tooltip) << i;
    }
}

} // namespace
} // namespace solvane::power::pages
