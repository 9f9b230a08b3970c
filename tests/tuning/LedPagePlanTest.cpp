// The LED page's layout per board, held against the board table as the product documents it,
// written out here board by board.
#include "tuning/LedPagePlan.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace solvane::tuning {
namespace {

struct ExpectedLedLayout {
    int board;
    std::set<int> switches;
    int cpuLamps;
    std::set<int> hiddenSlots;
    bool groupPicture = true;
    bool memoryLamp3 = false;
    bool pictures = true; // picture buttons and lamps of the shown switches
    bool smallPicture = false;
    std::string bios = {};
};

const std::set<int> kDialog{20, 21, 22, 23, 24, 25, 26, 27, 28};

const std::vector<ExpectedLedLayout>& expectedLayouts() {
    static const std::vector<ExpectedLedLayout> layouts{
        {2917, kDialog, 6, {}},
        {2916, {20, 21, 22, 24, 25, 26, 27, 28}, 5, {}},
        {2916, {20, 21, 22, 26, 27, 28}, 5, {}, true, false, true, false, "KX2916 V7.2"},
        {2916, {20, 21, 22, 24, 25, 26, 27, 28}, 5, {}, true, false, true, false, "V1.7"},
        {2915, {20, 21, 22, 23, 24, 25, 26, 27, 29, 30}, 6, {}, true, true},
        {2911, {20, 21, 22, 24, 25}, 5, {}},
        {2910, {20, 21, 22}, 6, {1193, 1195}},
        {2912, {21}, 4, {1172}},
        {2907, {21}, 4, {1172}},
        {2906, {21}, 4, {}, false},
        {2902, {21}, 4, {1196}, false},
        {2905, {21}, 4, {1196}, false},
        {2903, {21}, 2, {}, false},
        {2904, {21}, 1, {1172, 1190, 1191}, false, false, true, true},
        {2901, {21}, 0, {1196}, false, false, false, true},
        {2918, kDialog, 6, {}},
        {2909, kDialog, 6, {}},
        {2913, kDialog, 6, {}},
        {0, kDialog, 6, {}},
    };
    return layouts;
}

const std::map<int, std::vector<int>> kLampsOf{
    {21, {1161, 1167, 1168, 1169, 1170, 1171}},
    {22, {1179}},
    {23, {1173, 1174}},
    {24, {1177, 1178, 1181}},
    {25, {1175, 1176}},
    {26, {1159, 1163}},
    {27, {1180}},
    {28, {1160}},
    {29, {1164}},
    {30, {1165}},
};

void PrintTo(const ExpectedLedLayout& layout, std::ostream* out) {
    *out << "KX-" << layout.board << (layout.bios.empty() ? "" : " BIOS " + layout.bios);
}

class LedBoardLayoutTest : public testing::TestWithParam<ExpectedLedLayout> {};

TEST_P(LedBoardLayoutTest, SwitchesLampsPicturesAndSlotsFollowTheBoardTable) {
    const auto& expected = GetParam();
    const auto plan = ledPagePlan(expected.board, expected.bios, "Intel");
    std::set<int> lamps;
    for (int setting = 20; setting <= 30; ++setting) {
        SCOPED_TRACE("switch " + std::to_string(setting));
        const bool shown = expected.switches.count(setting) == 1;
        EXPECT_EQ(plan.of(setting).shown, shown);
        EXPECT_EQ(plan.of(setting).pictureShown, shown && expected.pictures && setting != 20);
        if (!shown || !expected.pictures || setting == 20)
            continue;
        auto own = kLampsOf.at(setting);
        if (setting == 21)
            own.resize(static_cast<std::size_t>(expected.cpuLamps));
        if (setting == 24 && !expected.memoryLamp3)
            own.pop_back();
        lamps.insert(own.begin(), own.end());
    }
    const auto shownLamps = plan.shownLamps();
    EXPECT_EQ(std::set<int>(shownLamps.begin(), shownLamps.end()), lamps);
    for (std::size_t i = 0; i < kSlotPictures.size(); ++i)
        EXPECT_EQ(plan.slotsShown[i], expected.hiddenSlots.count(kSlotPictures[i]) == 0) << kSlotPictures[i];
    EXPECT_EQ(plan.groupPictureShown, expected.groupPicture);
    EXPECT_EQ(plan.picture, expected.smallPicture ? BoardPictureKind::Small : BoardPictureKind::Full);
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, LedBoardLayoutTest, testing::ValuesIn(expectedLayouts()));

// The caption on each switch's picture button is its own, but an AMD processor's north bridge
// phases are named as such whatever the board.
TEST(LedPagePlan, PictureCaptionsNameTheNorthbridgeOnAnAmdProcessorOnly) {
    const std::map<int, std::string> captions{
        {21, "CPU TRYPH"}, {22, "Easy Button"}, {23, "QPI TRYPH"}, {24, "Memory TRYPH"}, {25, "IOH TRYPH"},
        {26, "Power LED"}, {27, "PCI Slot"},    {28, "PCIE Slot"}, {29, "Load Line"},    {30, "HD LED"}};
    for (const int board : {2917, 2911})
        for (const std::string vendor : {"Intel", "AMD"}) {
            const auto plan = ledPagePlan(board, {}, vendor);
            for (const auto& [setting, caption] : captions)
                EXPECT_EQ(plan.of(setting).pictureCaption,
                          setting == 25 && vendor == "AMD" ? "NB TRYPH" : caption)
                    << board << " " << vendor << " switch " << setting;
        }
}

TEST(LedPagePlan, LabelsKeepTheDialogTextsExceptTheNorthbridgeOn2911) {
    const std::map<int, std::string> dialog{{20, "All"},
                                            {21, "CPU TRYPH"},
                                            {22, "Easy Button"},
                                            {23, "QPI TRYPH"},
                                            {24, "Memory TRYPH"},
                                            {25, "IOH TRYPH"},
                                            {26, "Power/Standby LED"},
                                            {27, "PCI Slot"},
                                            {28, "PCIE Slot"},
                                            {29, "CPU Load Line"},
                                            {30, "HD LED"}};
    for (const int board : {2917, 2915, 2911, 2901, 0}) {
        const auto plan = ledPagePlan(board, {}, board == 2911 || board == 2901 ? "AMD" : "Intel");
        for (const auto& [setting, label] : dialog)
            EXPECT_EQ(plan.of(setting).label, board == 2911 && setting == 25 ? "NB Phase LED" : label)
                << board << " switch " << setting;
    }
}

TEST(LedPagePlan, PictureButtonsTakeTheirBoardAndVendorPictures) {
    // Each picture button's three images: normal, pressed, hover.
    const std::map<int, PictureImages> images{
        {21, {279, 282, 281}}, {22, {288, 289, 290}}, {23, {302, 303, 301}}, {24, {284, 285, 283}},
        {25, {299, 300, 298}}, {26, {292, 293, 291}}, {27, {296, 294, 295}}, {28, {305, 306, 304}},
        {29, {322, 320, 321}}, {30, {318, 316, 317}},
    };
    for (const int board : {2917, 2915}) {
        const auto intel = ledPagePlan(board, {}, "Intel");
        for (const auto& [setting, pictures] : images) {
            if (board == 2915 && setting == 27)
                continue; // its own PCI slot pictures, below
            EXPECT_EQ(intel.of(setting).pictures, pictures) << board << " switch " << setting;
        }
    }
    EXPECT_EQ(ledPagePlan(2915, {}, "Intel").of(27).pictures, (PictureImages{314, 313, 312}));
    const auto amd = ledPagePlan(2911, {}, "AMD");
    EXPECT_EQ(amd.of(25).pictures, (PictureImages{332, 329, 330}));
    EXPECT_EQ(amd.of(27).pictures, (PictureImages{296, 294, 295})) << "only 2915 has the other PCI spot";
}

TEST(LedPagePlan, EverySwitchKnowsItsButtonsAndToolTip) {
    const std::map<int, std::tuple<int, int, int, std::string>> ids{
        {20, {1077, 1112, 0, ""}},
        {21, {1082, 1117, 1205, "Turn On/Off CPU TRYPH LED"}},
        {22, {1079, 1114, 1201, "Turn On/Off Easy Button LED"}},
        {23, {1075, 1110, 1207, "Turn On/Off CPU QPI TRYPH LED"}},
        {24, {1074, 1109, 1202, "Turn On/Off Memory TRYPH LED"}},
        {25, {1076, 1111, 1206, "Turn On/Off IOH TRYPH LED"}},
        {26, {1078, 1113, 1203, "Turn On/Off Power/Standby LED"}},
        {27, {1080, 1115, 1204, "Turn On/Off PCI Slot LED"}},
        {28, {1081, 1116, 1208, "Turn On/Off PCIE Slot LED"}},
        {29, {1087, 1118, 1209, "Turn On/Off CPU Load Line LED"}},
        {30, {1088, 1119, 1210, "Turn On/Off HD LED"}},
    };
    for (const auto& [setting, expected] : ids) {
        const auto* led = ledSwitchOf(setting);
        ASSERT_NE(led, nullptr) << setting;
        EXPECT_EQ(led->buttonId, std::get<0>(expected)) << setting;
        EXPECT_EQ(led->labelId, std::get<1>(expected)) << setting;
        EXPECT_EQ(led->pictureId, std::get<2>(expected)) << setting;
        EXPECT_EQ(led->toolTip, std::get<3>(expected)) << setting;
    }
    EXPECT_EQ(ledSwitchOf(19), nullptr);
    EXPECT_EQ(ledSwitchOf(31), nullptr);
}

} // namespace
} // namespace solvane::tuning
