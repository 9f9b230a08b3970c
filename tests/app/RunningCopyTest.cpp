// A second start asks the running copy to bring its window forward.
#include "app/RunningCopy.h"

#include "support/TempFolder.h"

#include <QCoreApplication>
#include <chrono>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(RunningCopy, ASecondStartReachesTheRunningCopyEachTime) {
    test::TempFolder folder;
    const auto socket = runningCopySocket(folder.path());
    // A socket left by a copy that ended without closing it does not stand in the way.
    test::writeFile(socket, "");
    int calls = 0;
    {
        RunningCopyListener listener(socket, [&calls] { ++calls; });
        ASSERT_TRUE(listener.listening());
        EXPECT_TRUE(askRunningCopyForward(socket));
        ASSERT_TRUE(waitUntil([&] { return calls == 1; }));
        EXPECT_TRUE(askRunningCopyForward(socket));
        ASSERT_TRUE(waitUntil([&] { return calls == 2; }));
    }
    EXPECT_FALSE(std::filesystem::exists(socket)) << "the socket goes with the running copy";
    EXPECT_FALSE(askRunningCopyForward(socket)) << "nobody to ask";
    EXPECT_EQ(calls, 2);
}

} // namespace
} // namespace solvane::app
