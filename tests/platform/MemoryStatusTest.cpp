#include "platform/MemoryStatus.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::platform {
namespace {

TEST(MemoryStatusTest, TheLoadIsTheShareNotAvailable) {
    const auto status = parseMeminfo("MemTotal:        8000000 kB\n"
                                     "MemFree:          100000 kB\n"
                                     "MemAvailable:    5000000 kB\n"
                                     "Buffers:          200000 kB\n"
                                     "Cached:          4000000 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->dwTotalPhys, 8000000ULL * 1024);
    EXPECT_EQ(status->dwMemoryLoad, 38U); // 3000000 of 8000000 in use: 37.5 rounds up
}

TEST(MemoryStatusTest, OlderKernelsCountFreeBuffersAndCacheAsAvailable) {
    const auto status = parseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 240 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->dwMemoryLoad, 61U); // 610 in use: 61 %
}

TEST(MemoryStatusTest, LoadStaysWithinZeroToAHundred) {
    EXPECT_EQ(parseMeminfo("MemTotal: 1000 kB\nMemAvailable: 1000 kB\n")->dwMemoryLoad, 0U);
    EXPECT_EQ(parseMeminfo("MemTotal: 1000 kB\nMemAvailable: 5000 kB\n")->dwMemoryLoad, 0U);
    EXPECT_EQ(parseMeminfo("MemTotal: 1000 kB\nMemAvailable: 0 kB\n")->dwMemoryLoad, 100U);
    EXPECT_EQ(parseMeminfo("MemTotal: 1000 kB\nMemAvailable: 4 kB\n")->dwMemoryLoad, 100U); // 99.6
    EXPECT_EQ(parseMeminfo("MemTotal: 1000 kB\nMemAvailable: 6 kB\n")->dwMemoryLoad, 99U);  // 99.4
}

TEST(MemoryStatusTest, TextWithoutATotalGivesNothing) {
    EXPECT_FALSE(parseMeminfo(""));
    EXPECT_FALSE(parseMeminfo("MemFree: 100 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 0 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: lots\n"));
    test::TempFolder folder;
    const auto missing = GlobalMemoryStatus(folder / "meminfo");
    EXPECT_EQ(missing.dwTotalPhys, 0U);
    EXPECT_EQ(missing.dwMemoryLoad, 0U);
}

TEST(MemoryStatusTest, ThisMachineHasMemory) {
    const auto status = GlobalMemoryStatus();
    EXPECT_GT(status.dwTotalPhys, 0U);
    EXPECT_LE(status.dwMemoryLoad, 100U);
}

} // namespace
} // namespace solvane::platform
