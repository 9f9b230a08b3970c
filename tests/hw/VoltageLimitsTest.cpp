#include "hw/VoltageLimits.h"

#include <gtest/gtest.h>
#include <vector>

namespace solvane::hw {
namespace {

// The index limits of every voltage row on every board group, as lowest allowed / stable limit /
// highest allowed; a row a group has no limits for is absent.
const std::vector<std::vector<int>> kGroups{{2918, 2917, 2916, 2915, 2910}, {2911}, {2903}, {2902, 2905}};
using L = std::optional<std::array<int, 3>>;
constexpr L kNone = std::nullopt;

// One line per row, one column per group above.
const std::vector<std::pair<Setting, std::array<L, 4>>> kLimits{
    {Setting::CpuVoltage, {L{{13, 48, 68}}, L{{12, 20, 30}}, L{{24, 32, 33}}, L{{25, 74, 75}}}},
    {Setting::VttFsbVoltage, {L{{10, 48, 68}}, kNone, kNone, L{{1, 17, 18}}}},
    {Setting::CpuPllVoltage, {L{{10, 48, 68}}, kNone, L{{-1, 3, 5}}, L{{-1, 3, 5}}}},
    {Setting::DdrVoltage, {L{{22, 60, 71}}, L{{22, 60, 71}}, L{{0, 6, 9}}, L{{0, 9, 10}}}},
    {Setting::DdrVrefCaA, {L{{10, 40, 68}}, kNone, L{{0, 3, 5}}, L{{0, 9, 10}}}},
    {Setting::MchVoltage, {L{{10, 48, 68}}, L{{5, 40, 55}}, L{{0, 3, 5}}, L{{0, 9, 10}}}},
    {Setting::IchVoltage, {L{{10, 40, 68}}, L{{10, 40, 68}}, kNone, L{{0, 9, 10}}}},
};

TEST(VoltageLimits, EveryRowOfEveryBoardGroup) {
    for (const auto& [setting, byGroup] : kLimits) {
        for (std::size_t group = 0; group < kGroups.size(); ++group) {
            for (const int board : kGroups[group]) {
                const auto expected = byGroup[group];
                // The six memory references share the first one's limits.
                const auto settings =
                    setting == Setting::DdrVrefCaA
                        ? std::vector<Setting>{Setting::DdrVrefCaA, Setting::DdrVrefCaB, Setting::DdrVrefCaC,
                                               Setting::DdrVrefDaA, Setting::DdrVrefDaB, Setting::DdrVrefDaC}
                        : std::vector<Setting>{setting};
                for (const auto each : settings) {
                    const auto limits = voltageLimits(board, each);
                    ASSERT_EQ(limits.has_value(), expected.has_value())
                        << board << " setting " << indexOf(each);
                    if (!limits)
                        continue;
                    const auto [lowest, stable, highest] = *expected;
                    EXPECT_EQ(limits->lowest, lowest) << board << " setting " << indexOf(each);
                    EXPECT_EQ(limits->stable, stable) << board << " setting " << indexOf(each);
                    EXPECT_EQ(limits->highest, highest) << board << " setting " << indexOf(each);
                    EXPECT_FALSE(limits->isStable(lowest - 1));
                    EXPECT_TRUE(limits->isStable(lowest));
                    EXPECT_TRUE(limits->isStable(stable - 1));
                    EXPECT_FALSE(limits->isStable(stable));
                }
            }
        }
    }
    for (const int board : {2901, 2904, 2906, 2907, 2908, 2909, 2912})
        for (int k = 0; k < indexOf(Setting::AllLed); ++k)
            EXPECT_FALSE(voltageLimits(board, static_cast<Setting>(k))) << board << " setting " << k;
}

} // namespace
} // namespace solvane::hw
