#include "board/BoardTraits.h"
#include "hw/BoardModelNames.h"
#include "power/BoardTable.h"
#include "power/EfficiencyCurve.h"
#include "sim/boards/BoardModel.h"
#include "tuning/LedPagePlan.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace solvane {
namespace {

std::set<int> supportedBoards() {
    std::set<int> codes;
    for (const auto& record : power::kBoardTable)
        codes.insert(record.code);
    return codes;
}

// Every per-board table holds every supported board, or names it among the boards it leaves out on
// purpose: a board added to one table and forgotten in another fails here.
TEST(BoardRecords, EverySupportedBoardIsInEveryPerBoardTable) {
    const auto boards = supportedBoards();
    ASSERT_EQ(boards.size(), 16U);
    // Boards with no efficiency curve: their CPU part of the saving is not counted.
    const std::set<int> withoutCurve{2912, 2911, 2909, 2908, 2907, 2906, 2905, 2904, 2903, 2902, 2901};
    // Boards with no LED page layout of their own: they show the dialog's switches.
    const std::set<int> withoutLedLayout{2918, 2909, 2908};
    // Boards the model-name table does not name.
    const std::set<int> withoutModelName{2918};
    for (const int code : boards) {
        SCOPED_TRACE(code);
        EXPECT_NE(&board::traitsOf(code), &board::kNoTraits);
        EXPECT_EQ(hw::findBoardModelNameRecord(std::to_string(code)).has_value(),
                  !withoutModelName.contains(code));
        EXPECT_NE(sim::findBoardModel(code), nullptr);
        EXPECT_EQ(power::efficiencyCurveFor(code) == nullptr, withoutCurve.contains(code));
        const bool hasLedLayout = std::any_of(
            tuning::kLedBoardLayouts.begin(), tuning::kLedBoardLayouts.end(),
            [code](const tuning::LedBoardLayout& layout) { return layout.boards.contains(code); });
        EXPECT_EQ(hasLedLayout, !withoutLedLayout.contains(code));
    }
    // No table holds a board the capability table does not support.
    for (const auto& row : board::kBoardTraits)
        EXPECT_TRUE(boards.contains(row.code)) << row.code;
    for (const int code : withoutCurve)
        EXPECT_TRUE(boards.contains(code)) << code;
    for (const auto& layout : tuning::kLedBoardLayouts)
        for (int code = 2901; code <= 2918; ++code) {
            if (layout.boards.contains(code)) {
                EXPECT_TRUE(boards.contains(code)) << code;
            }
        }
}

// A board outside the table, including the two that only have model names, has no trait at all.
TEST(BoardRecords, OtherBoardsHaveNoTraits) {
    for (const int code : {0, 2900, 2913, 2914, 2919, -2904, 29040}) {
        SCOPED_TRACE(code);
        const auto& traits = board::traitsOf(code);
        EXPECT_EQ(&traits, &board::kNoTraits);
        EXPECT_EQ(traits.phaseSwitch, board::PhaseSwitch::None);
        EXPECT_EQ(traits.basicLayout, board::BasicLayout::Full);
        EXPECT_EQ(traits.pageButtons, board::PageButtons::All);
        EXPECT_FALSE(traits.cpuPhaseIsSwitch);
    }
    EXPECT_EQ(board::traitsOf(2904).code, 2904);
}

// Where a board is recognised by its digits, the digits may sit anywhere in the board string or in
// the code's decimal text; where it is recognised by its code text, the text must be the code.
TEST(BoardRecords, DigitSearchAndExactCodeTextDiffer) {
    const auto enabled = &board::BoardTraits::enabledByDefault;
    EXPECT_TRUE(board::foundWith(2911, enabled));
    EXPECT_TRUE(board::foundWith(129110, enabled));
    EXPECT_TRUE(board::foundWith("KX-2911", enabled));
    EXPECT_FALSE(board::foundWith(2912, enabled));
    EXPECT_FALSE(board::foundWith("KX-291", enabled));
    EXPECT_FALSE(board::foundWith("", enabled));
    const auto informationOnly = [](const board::BoardTraits& t) {
        return t.pageButtons == board::PageButtons::InformationOnly;
    };
    EXPECT_TRUE(board::foundWith("KX-2908", informationOnly));
    EXPECT_TRUE(board::foundWith("X2909YZ", informationOnly));
    EXPECT_FALSE(board::foundWith("KX-2918", informationOnly));

    EXPECT_TRUE(board::traitsOfText("2904").revisionModelNames);
    for (const char* text : {"02904", "2904 ", "KX-2904", "", "2913"})
        EXPECT_EQ(&board::traitsOfText(text), &board::kNoTraits) << text;
}

} // namespace
} // namespace solvane
