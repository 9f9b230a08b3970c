#include "power/SavingEstimate.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// A refresh at a CPU load with the CPU's supply and one rail measured (watts).
SavingEstimate::Sample at(double load, double cpuWatts, double railWatts) {
    return {load, {cpuWatts, railWatts, 0.0, 0.0}};
}

TEST(SavingEstimate, HasNoEstimateBeforeDefaultWasSeen) {
    SavingEstimate estimate;
    EXPECT_FALSE(estimate.saving(at(0.5, 60, 35)));
}

TEST(SavingEstimate, DefaultsDrawAtThisLoadFollowsItsReadingsAsTheySettle) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.5, 100, 40));
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 60, 40)), 40.0) << "the first reading starts the table";
    // Default's fan and temperatures settle a minute later, a few watts higher: the table follows
    // them instead of keeping the first reading.
    for (int refresh = 0; refresh < 20; ++refresh)
        estimate.observeDefault(at(0.5, 110, 40));
    EXPECT_NEAR(*estimate.saving(at(0.5, 60, 40)), 50.0, 0.2);
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.52, 60, 40)), *estimate.saving(at(0.5, 60, 40)))
        << "loads within a bin count alike";
}

TEST(SavingEstimate, AtALoadDefaultNeverRanEachPartIsScaledByItsShareAtTheNearestLoad) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.25, 50, 40));
    estimate.observeDefault(at(0.90, 120, 50));
    // At 25 % the mode draws half the CPU power and three quarters of the rail's.
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.25, 25, 30)), 35.0);
    // At 40 % Default never ran: the CPU's draw now doubled, the rail's times 4/3. The Default
    // figure of 90 % is no measure of 40 %, and only 25 % taught a share.
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.40, 40, 33)), 40.0 + 11.0);
    // The share taught at 25 % also serves far above it, where the mode never ran with Default.
    EXPECT_DOUBLE_EQ(*estimate.saving(at(1.0, 80, 36)), 80.0 + 12.0);
}

TEST(SavingEstimate, AnotherModeLearnsItsOwnSharesButKeepsDefaultsDraw) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.25, 50, 40));
    estimate.saving(at(0.25, 25, 40));
    estimate.restartMode();
    EXPECT_FALSE(estimate.saving(at(0.7, 40, 40))) << "no share learned for this mode yet";
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.25, 40, 40)), 10.0);
}

TEST(SavingEstimate, WithoutALoadReadingEveryRefreshCountsAsOneLoad) {
    SavingEstimate estimate;
    estimate.observeDefault({std::nullopt, {100, 0, 0, 0}});
    EXPECT_DOUBLE_EQ(*estimate.saving({std::nullopt, {70, 0, 0, 0}}), 30.0);
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.0, 70, 0)), 30.0) << "the same as an idle CPU";
}

TEST(SavingEstimate, PartsAddUpAndTheWholeNeverSavesLessThanNothing) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.5, 50, 40));
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 45, 42)), 3.0) << "a fan faster in the mode costs 2 W";
    EXPECT_EQ(estimate.saving(at(0.5, 55, 41)), 0.0) << "more than Default: no saving, and no negative one";
}

} // namespace
} // namespace solvane::power
