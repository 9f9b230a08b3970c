// The advanced page's timers on the virtual clock.
#include "tuning/AdvancedPageTimers.h"

#include <gtest/gtest.h>

namespace solvane::tuning {
namespace {

class PageTimers : public testing::Test {
protected:
    PageTimers()
        : timers(clock, this, modes,
                 {.refreshReadouts = [this] { ++readouts; },
                  .refreshRadios = [this] { ++radios; },
                  .refreshCaptions = [this] { ++captions; },
                  .listOpen = [this] { return listOpen; }}) {}

    bool captionsRunning() const { return clock.isSet(this, 92); }

    platform::VirtualClockScheduler clock;
    power::PowerModeState modes;
    int readouts = 0;
    int radios = 0;
    int captions = 0;
    bool listOpen = false;
    AdvancedPageTimers timers;
};

TEST_F(PageTimers, CaptionTimerStopsAfterItsEleventhCountedTick) {
    timers.startCaptionRefresh();
    EXPECT_EQ(clock.period(this, 92), 1000U);
    clock.advance(10'000);
    EXPECT_EQ(captions, 10);
    EXPECT_TRUE(captionsRunning());
    clock.advance(1000);
    EXPECT_EQ(captions, 11);
    EXPECT_FALSE(captionsRunning());
    clock.advance(5000);
    EXPECT_EQ(captions, 11);
}

TEST_F(PageTimers, ARestartWhileRunningDoesNotGiveElevenFreshTicks) {
    timers.startCaptionRefresh();
    clock.advance(6000);
    EXPECT_EQ(captions, 6);
    timers.startCaptionRefresh();
    clock.advance(20'000);
    EXPECT_EQ(captions, 11) << "five more after the restart";
    // Once stopped, the next start counts from zero again.
    timers.startCaptionRefresh();
    clock.advance(20'000);
    EXPECT_EQ(captions, 22);
}

TEST_F(PageTimers, TicksWhileAListIsOpenDoNothingAndDoNotCount) {
    timers.startCaptionRefresh();
    clock.advance(3000);
    listOpen = true;
    clock.advance(30'000);
    EXPECT_EQ(captions, 3);
    EXPECT_TRUE(captionsRunning());
    listOpen = false;
    clock.advance(8000);
    EXPECT_EQ(captions, 11);
    EXPECT_FALSE(captionsRunning());
}

TEST_F(PageTimers, TheReadoutTimerStartsTheCaptionsOnlyAfterAModeWasRecordedAndChanged) {
    timers.start();
    EXPECT_EQ(clock.period(this, 98), 2000U);
    clock.advance(2000);
    EXPECT_EQ(readouts, 1);
    EXPECT_EQ(radios, 1);
    EXPECT_FALSE(captionsRunning()) << "no mode recorded before: -1 never starts it";
    EXPECT_EQ(timers.recordedMode(), power::PowerMode::None);

    modes.selectMode(power::PowerMode::Optimize);
    clock.advance(2000);
    EXPECT_FALSE(captionsRunning()) << "the recorded mode was still -1";
    EXPECT_EQ(timers.recordedMode(), power::PowerMode::Optimize);
    clock.advance(2000);
    EXPECT_FALSE(captionsRunning()) << "unchanged";
    modes.selectMode(power::PowerMode::Max);
    clock.advance(2000);
    EXPECT_TRUE(captionsRunning());
    EXPECT_EQ(readouts, 4);
}

} // namespace
} // namespace solvane::tuning
