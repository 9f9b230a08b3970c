#include "host/ProcStatLoad.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

TEST(ProcStat, BusyTimeLeavesOutIdleAndIoWait) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> busy;
        std::uint64_t total;
    };
    const Case cases[] = {
        // user nice system idle iowait irq softirq steal guest guest_nice
        {"cpu  100 20 30 800 50 5 5 10 7 0\ncpu0 1 2 3 4\n", 170, 1020},
        {"cpu  100 0 50 850\n", 150, 1000}, // a kernel of four columns
        {"cpu0 100 0 50 850\n", std::nullopt, 0},
        {"cpu  100 0\n", std::nullopt, 0},
        {"cpu  abc\n", std::nullopt, 0},
        {"", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto times = parseProcStat(c.text);
        ASSERT_EQ(times.has_value(), c.busy.has_value()) << c.text;
        if (times) {
            EXPECT_EQ(times->busy, *c.busy) << c.text;
            EXPECT_EQ(times->total, c.total) << c.text;
        }
    }
}

TEST(ProcStat, TheLoadIsTheBusyShareOfTheTicksSinceThePreviousSample) {
    test::TempFolder proc;
    const auto stat = [&](int busy, int idle) {
        test::writeFile(proc / "stat",
                        "cpu  " + std::to_string(busy) + " 0 0 " + std::to_string(idle) + "\n");
    };
    ProcStatLoad load(proc.path());
    EXPECT_FALSE(load.sample().has_value()) << "no stat file";
    stat(100, 300);
    EXPECT_DOUBLE_EQ(*load.sample(), 0.25) << "the first sample: since boot";
    stat(190, 310);
    EXPECT_DOUBLE_EQ(*load.sample(), 0.9);
    EXPECT_DOUBLE_EQ(*load.sample(), 0.9) << "no tick passed: the load stays";
    stat(10, 30);
    EXPECT_DOUBLE_EQ(*load.sample(), 0.25) << "counters that went back start afresh";
}

} // namespace
} // namespace solvane::host
