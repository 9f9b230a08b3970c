// The pictures of the basic page: each panel's heading picture and the four state pictures of each
// mode button (normal, pressed, hover, disabled), with the button's tooltip, as the page's dialog
// resources name them (heading statics 1193 to 1195, radio buttons 1062 to 1064).
#include "power/pages/BasicPageLayout.h"

#include <gtest/gtest.h>

namespace solvane::power::pages {
namespace {

TEST(BasicPagePictures, EachPanelHeadingAndModeButtonShowsItsResourcePictures) {
    const std::array<std::pair<int, int>, 3> headings{{
        {1193, 267},
        {1194, 272},
        {1195, 273},
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
        {1062, {168, 170, 171, 169}, "Default Mode"},
        {1063, {176, 166, 167, 178}, "Optimize Mode"},
        {1064, {172, 174, 175, 173}, "Max Power Saving Mode"},
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
