// The window's side of the hand-over with the process calls replaced, and the monitor's process
// file.
#include "app/MonitorHandOver.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace solvane::app {
namespace {

struct Fake {
    std::optional<pid_t> process = 4242;
    bool isMonitor = true;
    bool signalSent = true;
    int heldPolls = 3; // the lock is let go after this many polls (-1: never)
    int asked = 0;
    int pauses = 0;

    HandOverCalls calls() {
        return {
            .monitorProcess = [this] { return process; },
            .isThisProgram = [this](pid_t) { return isMonitor; },
            .askToHandOver =
                [this](pid_t) {
                    ++asked;
                    return signalSent;
                },
            .lockHeld = [this] { return heldPolls < 0 || pauses < heldPolls; },
            .pause = [this] { ++pauses; },
        };
    }
};

TEST(MonitorHandOver, AsksOnlyAWindowlessMonitorAndWaitsBoundedForTheLock) {
    const struct {
        const char* what;
        Fake fake;
        bool tookOver;
        int asked;
        int pauses;
    } kCases[] = {
        {"a monitor lets go", {}, true, 1, 3},
        {"no process file (another window holds the lock)", {.process = std::nullopt}, false, 0, 0},
        {"the file names another program", {.isMonitor = false}, false, 0, 0},
        {"the monitor is gone", {.signalSent = false}, false, 1, 0},
        {"the monitor never lets go", {.heldPolls = -1}, false, 1, kHandOverPolls},
    };
    for (auto c : kCases) {
        EXPECT_EQ(takeOverFromMonitor(c.fake.calls()), c.tookOver) << c.what;
        EXPECT_EQ(c.fake.asked, c.asked) << c.what;
        EXPECT_EQ(c.fake.pauses, c.pauses) << c.what;
    }
}

TEST(MonitorHandOver, TheProcessFileIsThisMonitorsWhileItRuns) {
    test::TempFolder folder;
    const auto file = monitorProcessFile(folder.path());
    {
        const MonitorProcessFile kept(file);
        EXPECT_EQ(test::readTextFile(file), std::to_string(::getpid()));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    {
        const MonitorProcessFile kept(file);
        test::writeFile(file, "1"); // a later monitor's
    }
    EXPECT_EQ(test::readTextFile(file), "1") << "another monitor's file is left alone";
    // This test process is no window-less monitor.
    const auto real = systemHandOverCalls(folder.path(), [] { return true; });
    EXPECT_FALSE(real.isThisProgram(::getpid()));
    EXPECT_FALSE(real.isThisProgram(1));
}

} // namespace
} // namespace solvane::app
