#include "ui/ShownPageTimers.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

// A window with two pages, the second's timers on the virtual clock through its page timers.
class ShownPageTimersTest : public ::testing::Test {
protected:
    ShownPageTimersTest() {
        window.resize(200, 100);
        other->setGeometry(0, 0, 200, 100);
        page->setGeometry(0, 0, 200, 100);
        page->hide();
        timers.watch(*page);
        // The page's 2-second timer, set while the page is built, before it is first shown.
        timers.scheduler().setTimer(page, kTimer, kPeriodMs, [this] { ++ticks; });
        window.show();
    }
    void showPage(bool shown) {
        other->setVisible(!shown);
        page->setVisible(shown);
    }

    static constexpr int kTimer = 0;
    static constexpr unsigned kPeriodMs = 2000;
    platform::VirtualClockScheduler clock;
    QWidget window;
    QWidget* other = new QWidget(&window);
    QWidget* page = new QWidget(&window);
    ShownPageTimers timers{clock};
    int ticks = 0;
};

TEST_F(ShownPageTimersTest, AHiddenPageDoesNoWorkAndSetsNoTimerOfItsOwn) {
    clock.advance(60000);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(clock.isSet(page, kTimer));
    EXPECT_TRUE(timers.scheduler().isSet(page, kTimer));
}

TEST_F(ShownPageTimersTest, AShownPageIsFreshAtOnceThenTicksOnItsPeriod) {
    showPage(true);
    EXPECT_EQ(ticks, 1);
    clock.advance(kPeriodMs * 3);
    EXPECT_EQ(ticks, 4);

    showPage(false);
    clock.advance(kPeriodMs * 3);
    EXPECT_EQ(ticks, 4);
    showPage(true);
    EXPECT_EQ(ticks, 5);
}

TEST_F(ShownPageTimersTest, MinimisedOrPutAwayTheShownPageRestsToo) {
    showPage(true);
    const int shownTicks = ticks;

    window.setWindowState(Qt::WindowMinimized);
    clock.advance(kPeriodMs * 5);
    EXPECT_EQ(ticks, shownTicks);
    window.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(ticks, shownTicks + 1);

    window.hide(); // the window put away to the notification area
    clock.advance(kPeriodMs * 5);
    EXPECT_EQ(ticks, shownTicks + 1);
    EXPECT_FALSE(clock.isSet(page, kTimer));
    window.show();
    EXPECT_EQ(ticks, shownTicks + 2);
    EXPECT_TRUE(clock.isSet(page, kTimer));
}

} // namespace
} // namespace solvane::ui
