// The main window's pages keep their timers running only while they can be seen; the power-saving
// monitor's refresh runs whatever is shown.
#include "WindowOnScreen.h"
#include "power/BasicPageReadouts.h"
#include "power/PowerMonitor.h"
#include "power/pages/CSLV_NOVICE.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/pages/MotherboardPageIds.h"
#include "tuning/AdvancedPageTimers.h"
#include "tuning/LedPageTimers.h"
#include "tuning/pages/AdvancedPageIds.h"
#include "tuning/pages/LedPageIds.h"

#include <gtest/gtest.h>
#include <vector>

namespace solvane::app {
namespace {

namespace ids = ui::main_window_ids;

struct PageTimer {
    const char* page;
    int pageId;
    int timerId;
    std::vector<int> buttons; // that show the page
};

const PageTimer kPageTimers[] = {
    {"memory",
     sysinfo::memory_dialog::kDialogId,
     sysinfo::memory_dialog::kStatusTimer,
     {ids::kSystemInfo, ids::kMemory}},
    {"motherboard",
     sysinfo::pages::motherboard_ids::kDialog,
     sysinfo::pages::motherboard_ids::kCoreVoltageTimer,
     {ids::kSystemInfo, ids::kMotherboardInfo}},
    {"advanced",
     tuning::pages::advanced_ids::kDialog,
     tuning::AdvancedPageTimers::kReadoutTimer,
     {ids::kProduct, ids::kAdvanced, ids::kMotherboardSettings}},
    {"LED",
     tuning::pages::led_ids::kDialog,
     tuning::LedPageTimers::kLampTimer,
     {ids::kProduct, ids::kAdvanced, ids::kLedSettings}},
};

const ui::TStackedPage* pageOf(const CSampleDlg& window, int pageId) {
    for (const auto& record : window.pages())
        if (record->pageId == pageId)
            return record->page.get();
    return nullptr;
}

TEST(PageTimers, OnlyTheShownPagesTimersRunAndTheMonitorAlwaysRefreshes) {
    test::MainWindowRig rig(2917, {ids::kProduct, ids::kBasic});
    auto& clock = rig.parts.clock;
    const auto* monitor = rig.core->session().monitor();
    ASSERT_NE(monitor, nullptr);
    const auto refreshing = [&] { return clock.isSet(monitor, power::PowerMonitor::kRefreshTimer); };
    for (const auto& timer : kPageTimers) {
        SCOPED_TRACE(timer.page);
        const auto* page = pageOf(*rig.window, timer.pageId);
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(clock.isSet(page, timer.timerId)) << "hidden behind the basic page";

        for (const int button : timer.buttons)
            rig.window->OnCommand(button);
        ASSERT_TRUE(page->isVisible());
        EXPECT_TRUE(clock.isSet(page, timer.timerId)) << "shown";

        rig.window->hide(); // put away to the notification area
        clock.advance(10000);
        EXPECT_FALSE(clock.isSet(page, timer.timerId)) << "the window put away";
        EXPECT_TRUE(refreshing());
        rig.window->show();
        EXPECT_TRUE(clock.isSet(page, timer.timerId)) << "the window back";

        rig.window->OnCommand(ids::kProduct);
        rig.window->OnCommand(ids::kBasic);
        EXPECT_FALSE(clock.isSet(page, timer.timerId)) << "the basic page shown again";
        EXPECT_TRUE(refreshing());
    }
}

// The labels of the basic page against what the monitor would show now: how many differ.
int staleReadouts(const test::MainWindowRig& rig) {
    int stale = 0;
    for (const auto& readout : power::basicPageReadouts(rig.core->state(), *rig.core->session().monitor()))
        stale += rig.window->basicPage()->readoutText(readout.valueId).toStdString() != readout.text;
    return stale;
}

TEST(PageTimers, TheBasicPageSetsItsReadoutsOnlyWhileSeenAndIsFreshWhenShown) {
    test::MainWindowRig rig(2917, {ids::kProduct, ids::kBasic});
    rig.core->session().monitor()->SelectMode(power::PowerMode::Max);
    rig.parts.clock.advance(3300);
    EXPECT_EQ(staleReadouts(rig), 0);

    rig.window->showMinimized();
    rig.parts.clock.advance(10 * 60 * 1000); // the saving adds up meanwhile
    EXPECT_GT(staleReadouts(rig), 0) << "nothing set while minimised";
    rig.window->showNormal();
    EXPECT_EQ(staleReadouts(rig), 0) << "fresh the moment it shows";

    rig.window->OnCommand(ids::kAdvanced);
    rig.window->OnCommand(ids::kMotherboardSettings);
    rig.parts.clock.advance(10 * 60 * 1000);
    EXPECT_GT(staleReadouts(rig), 0) << "nothing set behind another page";
    rig.window->OnCommand(ids::kBasic);
    EXPECT_EQ(staleReadouts(rig), 0);
}

} // namespace
} // namespace solvane::app
