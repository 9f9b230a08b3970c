#include "sysinfo/pages/PciPageLayout.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo::pages::pci_layout {
namespace {

struct ListPlace {
    int available;
    int chrome;
    int rowHeight;
    int expected;
};

// The list is cut to whole rows only where at least one row fits; otherwise (or with no row height
// known yet) it keeps its whole place rather than shrink to its header.
TEST(PciPageLayout, TheListKeepsWholeRowsWhereARowFits) {
    const ListPlace places[] = {
        {320, 24, 17, 24 + 17 * 17}, // 296 / 17 = 17 rows, 7 pixels left over
        {320, 24, 37, 24 + 8 * 37},  // 296 / 37 = 8 rows exactly
        {60, 24, 36, 60},            // exactly one row: the place as it is
        {50, 24, 36, 50},            // not even one row
        {320, 24, 0, 320},           // no row height known yet
        {320, 24, -1, 320},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(testing::Message() << place.available << "/" << place.chrome << "/" << place.rowHeight);
        EXPECT_EQ(wholeRowsHeight(place.available, place.chrome, place.rowHeight), place.expected);
    }
}

} // namespace
} // namespace solvane::sysinfo::pages::pci_layout
