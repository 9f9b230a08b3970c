#include "power/BasicPagePlan.h"

#include "power/BasicPageIds.h"

#include <gtest/gtest.h>
#include <set>

namespace solvane::power {
namespace {

using namespace basic_ids;

const std::set<int> kBridgePhaseRows{kMemoryPhases, kIohPhases};
const std::set<int> kAllButCpuRows{kCpuConsumption, kCpuSaving,  kCpuEfficiency,  kMemoryVoltage,
                                   kMemoryPhases,   kIohVoltage, kIohTemperature, kIohPhases,
                                   kIchVoltage,     kRail33,     kRail5,          kRail12};

struct PlanCase {
    int board;
    std::set<int> hiddenRows;
    bool totals;
    bool panels;
    bool modeButtons;
};

// What the basic page shows on each board; any board not named shows everything.
TEST(BasicPagePlan, RowsPanelsAndModeButtonsPerBoard) {
    const PlanCase cases[] = {
        {2918, {}, true, true, true},
        {2917, {}, true, true, true},
        {2916, {}, true, true, true},
        {2915, {}, true, true, true},
        {2911, {}, true, true, true},
        {2906, {}, true, true, true},
        {2903, {}, true, true, true},
        {2912, kAllButCpuRows, false, true, true},
        {2907, kAllButCpuRows, false, true, true},
        {2910, kBridgePhaseRows, true, true, true},
        {2902, kBridgePhaseRows, true, true, true},
        {2905, kBridgePhaseRows, true, true, true},
        {2901, kBridgePhaseRows, true, true, true},
        {2904, kBridgePhaseRows, true, true, false},
        {2909, {}, false, false, false},
        {2908, {}, false, false, false},
        {2913, {}, true, true, true},
        {0, {}, true, true, true},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.board);
        const auto plan = basicPagePlan(expected.board);
        EXPECT_EQ(plan.hiddenRows, expected.hiddenRows);
        EXPECT_EQ(plan.totals, expected.totals);
        EXPECT_EQ(plan.panels, expected.panels);
        EXPECT_EQ(plan.modeButtons, expected.modeButtons);
    }
}

} // namespace
} // namespace solvane::power
