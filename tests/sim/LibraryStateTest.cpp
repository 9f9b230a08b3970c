#include "sim/SimTestSupport.h"

#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

// What the power-saving library's power plan and throttling do to the simulated CPU clock: a cap on
// the clock, and whether the clock follows the load at all. Unknown plans and states are refused and
// change nothing.
class LibraryState : public ::testing::Test {
protected:
    double clockAfterASecond() {
        clock.advance(std::chrono::seconds(1));
        return hardware.board().physics().clock;
    }

    test::ManualClock clock;
    SimulatedHardware hardware{test::testOptions(2917, clock, 1.0)};
    SimulatedBoard& board = hardware.board();
};

TEST_F(LibraryState, ThrottlingCapsTheClockAtSixtyPercent) {
    EXPECT_NEAR(clockAfterASecond(), 1.0, 1e-9);
    EXPECT_EQ(board.setThrottling(7), 1);
    EXPECT_NEAR(clockAfterASecond(), 0.6, 1e-9);
    EXPECT_EQ(board.setThrottling(8), 1);
    EXPECT_NEAR(clockAfterASecond(), 1.0, 1e-9);
}

TEST_F(LibraryState, PowerPlansCapTheClock) {
    for (const auto& [mode, cap] : {std::pair{0, 1.0}, {3, 0.75}, {6, 1.0}, {7, 0.75}, {8, 1.0}}) {
        EXPECT_EQ(board.setPowerMode(mode), 1) << mode;
        EXPECT_NEAR(clockAfterASecond(), cap, 1e-9) << mode;
    }
}

TEST_F(LibraryState, OnlyAlwaysOnAndHighPerformanceHoldTheClockUnderALightLoad) {
    test::ManualClock lightClock;
    SimulatedHardware light(test::testOptions(2917, lightClock, 0.1));
    for (const auto& [mode, held] : {std::pair{0, true}, {3, false}, {6, false}, {7, false}, {8, true}}) {
        light.board().setPowerMode(mode);
        lightClock.advance(std::chrono::seconds(1));
        EXPECT_EQ(light.board().physics().clock == 1.0, held) << mode;
    }
}

TEST_F(LibraryState, UnknownPlansAndThrottlingStatesAreRefused) {
    EXPECT_EQ(board.setPowerMode(5), 0);
    EXPECT_EQ(board.powerMode(), 6);
    EXPECT_EQ(board.setThrottling(6), 0);
    EXPECT_EQ(board.throttling(), 8);
}

} // namespace
} // namespace solvane::sim
