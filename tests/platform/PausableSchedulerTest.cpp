#include "platform/PausableScheduler.h"

#include <gtest/gtest.h>
#include <string>

namespace solvane::platform {
namespace {

// Two owners' timers on a page's scheduler over the virtual clock; each tick is logged.
class PausableSchedulerTest : public ::testing::Test {
protected:
    std::function<void()> logging(std::string name) {
        return [this, name] { log += name + "@" + std::to_string(clock.now()) + " "; };
    }

    VirtualClockScheduler clock;
    PausableScheduler page{clock};
    const int memoryPage = 0;
    const int label = 0;
    std::string log;
};

TEST_F(PausableSchedulerTest, PausedTimersDoNoWorkAndLeaveTheClockButStaySet) {
    page.setTimer(&memoryPage, 0, 2000, logging("status"));
    clock.advance(2000);
    EXPECT_EQ(log, "status@2000 ");

    page.pause();
    clock.advance(60000);
    EXPECT_EQ(log, "status@2000 ");
    EXPECT_FALSE(clock.isSet(&memoryPage, 0)); // no wake-up of its own
    EXPECT_TRUE(page.isSet(&memoryPage, 0));   // as far as the page can tell
}

TEST_F(PausableSchedulerTest, ResumingRunsEachTimerAtOnceInTheOrderSetThenOnItsPeriod) {
    PausableScheduler waiting(clock, PausableScheduler::Start::Paused);
    waiting.setTimer(&label, 1, 500, logging("flash"));
    waiting.setTimer(&memoryPage, 0, 2000, logging("status"));
    clock.advance(5000);
    EXPECT_EQ(log, "");

    waiting.resume();
    EXPECT_EQ(log, "flash@5000 status@5000 ");
    EXPECT_EQ(clock.period(&memoryPage, 0), 2000U);
    log.clear();
    clock.advance(1999);
    EXPECT_EQ(log, "flash@5500 flash@6000 flash@6500 ");
    log.clear();
    clock.advance(1);
    EXPECT_NE(log.find("status@7000"), std::string::npos);
}

TEST_F(PausableSchedulerTest, WhatChangesWhilePausedHoldsOnResume) {
    page.setTimer(&memoryPage, 0, 2000, logging("status"));
    page.setTimer(&label, 1, 500, logging("flash"));
    page.pause();
    page.killTimer(&label, 1);
    page.setTimer(&memoryPage, 0, 3000, logging("voltage")); // set again: a new period and work
    page.setTimer(&memoryPage, 2, 1000, logging("lamps"));   // set while paused: waits
    EXPECT_FALSE(page.isSet(&label, 1));
    EXPECT_FALSE(clock.isSet(&memoryPage, 2));
    clock.advance(4000);
    EXPECT_EQ(log, "");

    page.resume();
    EXPECT_EQ(log, "voltage@4000 lamps@4000 ");
    EXPECT_FALSE(clock.isSet(&label, 1));
    EXPECT_EQ(clock.period(&memoryPage, 0), 3000U);
}

TEST_F(PausableSchedulerTest, AOneShotThatKillsItselfOnResumeIsGone) {
    page.setTimer(&memoryPage, 92, 1000, [this] {
        log += "once ";
        page.killTimer(&memoryPage, 92);
    });
    page.pause();
    page.resume();
    EXPECT_EQ(log, "once ");
    EXPECT_FALSE(page.isSet(&memoryPage, 92));
    EXPECT_FALSE(clock.isSet(&memoryPage, 92));
    clock.advance(5000);
    EXPECT_EQ(log, "once ");
}

TEST_F(PausableSchedulerTest, KillTimersTakesOneOwnersTimersAndTheEndTakesTheRest) {
    {
        PausableScheduler shown(clock);
        shown.setTimer(&memoryPage, 0, 2000, logging("status"));
        shown.setTimer(&label, 1, 500, logging("flash"));
        shown.killTimers(&label);
        EXPECT_FALSE(clock.isSet(&label, 1));
        EXPECT_TRUE(clock.isSet(&memoryPage, 0));
    }
    EXPECT_FALSE(clock.isSet(&memoryPage, 0));
    clock.advance(5000);
    EXPECT_EQ(log, "");
}

TEST_F(PausableSchedulerTest, PausingOrResumingTwiceChangesNothing) {
    page.setTimer(&memoryPage, 0, 2000, logging("status"));
    page.resume(); // already running: no extra run
    EXPECT_EQ(log, "");
    page.pause();
    page.pause();
    page.resume();
    page.resume();
    EXPECT_EQ(log, "status@0 ");
}

} // namespace
} // namespace solvane::platform
