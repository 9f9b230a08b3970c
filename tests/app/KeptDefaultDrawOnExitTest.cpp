// A run that ends in Default, never having chosen a saving mode, still leaves Default's draw for
// the next run: one that starts straight in Optimize or Max then knows what Default draws.
#include "SimulatedCore.h"
#include "app/Report.h"
#include "power/KeptDefaultDraw.h"
#include "power/PowerMeasurement.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

TEST(KeptDefaultDrawOnExit, ARunThatStayedInDefaultKeepsItsDrawWhenItEnds) {
    for (const int board : {2917, 2910}) {
        SCOPED_TRACE(board);
        test::CoreOnBoard run(board, 0.5, 3, 7);
        runBeforeReport(*run.core, run.services.clock, power::PowerMode::Default, 20);
        run.core->shutdown();
        const auto kept = run.services.registry.readString(power::kSavingTotalsKey, power::kDefaultDrawValue);
        ASSERT_TRUE(kept);
        const auto entries = power::parseKeptDefaultDraw(*kept, board);
        ASSERT_TRUE(entries);
        EXPECT_FALSE(entries->empty()) << *kept;
    }
}

} // namespace
} // namespace solvane::app
