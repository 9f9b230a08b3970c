// The advanced page's CPU phase row on the boards whose CPU phase setting is an on/off switch, and
// on a board with levels: what the row reads for "Auto" and for the switch turned off.
#include "tuning/AdvancedCaptions.h"

#include "tuning/AdvancedPagePlan.h"

#include <gtest/gtest.h>

namespace solvane::tuning {
namespace {

constexpr int kCpuPhaseRow = 6;

TEST(AdvancedCaptions, TheCpuPhaseRowReadsAsItsBoardsSwitchOrLevels) {
    struct Case {
        int board;
        int levels;
        power::SettingValue value;
        const char* caption;
    };
    const Case cases[] = {
        {2906, 2, 0, "Auto (4)"}, // its switch at 0 still shows the running phases
        {2906, 2, 1, "Disable"},  {2904, 2, 0, "Auto"},    {2904, 2, 1, "Disable"},
        {2901, 2, 0, "Auto"},     {2901, 2, 1, "Disable"}, {2917, 6, 0, "Auto (4)"},
    };
    for (const auto& [board, levels, value, caption] : cases) {
        power::PowerSavingState state;
        state.platform.BoardCode = board;
        state.routines.levelCounts[kCpuPhaseRow] = levels;
        state.routines.activeCpuPhases = 4;
        state.modes.DefaultTargets[kCpuPhaseRow] = 0;
        state.modes.CurrentValues[kCpuPhaseRow] = value;
        EXPECT_EQ(rowCaption(kAdvancedRows[kCpuPhaseRow], state), caption) << board << " at " << value;
    }
}

} // namespace
} // namespace solvane::tuning
