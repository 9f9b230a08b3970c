#include "app/CSampleApp.h"

#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "sim/SimulatedMachine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

class RecordingWindow final : public MainWindowHost {
public:
    explicit RecordingWindow(int& runs) : m_runs(runs) {}
    int DoModal() override {
        ++m_runs;
        return 1;
    }

private:
    int& m_runs;
};

class CSampleAppTest : public ::testing::Test {
protected:
    CSampleAppTest() : devices(services), kernelSide(machine) {
        system.folder = folder.path();
        test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
        devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, kernelSide);
    }

    CSampleApp makeApp() {
        return CSampleApp(
            mutexes, prompt,
            [this] {
                ++driversMade;
                return std::make_unique<hw::IoDriver>(system, services, devices, sleeper);
            },
            [this](hw::IoDriver&) { return std::make_unique<RecordingWindow>(windowRuns); });
    }

    test::TempFolder folder;
    platform::FakeSystemFacts system;
    platform::ServiceTable services;
    platform::DeviceNamespace devices;
    sim::SimulatedMachine machine;
    hw::ZubrikDriver kernelSide;
    platform::RecordingSleeper sleeper;
    platform::FakeMutexService mutexes;
    platform::ScriptedPrompt prompt;
    int driversMade = 0;
    int windowRuns = 0;
};

TEST_F(CSampleAppTest, ANormalRunHoldsTheLockUntilExit) {
    auto app = makeApp();
    EXPECT_FALSE(app.InitInstance()) << "start-up always reports failure so no second loop runs";
    EXPECT_EQ(app.outcome(), CSampleApp::Outcome::Ran);
    EXPECT_EQ(windowRuns, 1);
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_TRUE(mutexes.held("SolvaneII System"));
    EXPECT_NE(app.driver()->GetHandle(), platform::kInvalidDeviceHandle);
    app.ExitInstance();
    EXPECT_FALSE(mutexes.held("SolvaneII System"));
    // The driver service stays installed and running for the next start.
    EXPECT_EQ(services.queryState(hw::zubrik::kServiceName), platform::ServiceState::Running);
}

TEST_F(CSampleAppTest, AMainWindowThatCannotBeMadeEndsTheRunAndFreesTheLock) {
    CSampleApp app(
        mutexes, prompt,
        [this] { return std::make_unique<hw::IoDriver>(system, services, devices, sleeper); },
        [](hw::IoDriver&) { return std::unique_ptr<MainWindowHost>(); });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.outcome(), CSampleApp::Outcome::WindowFailed);
    app.ExitInstance();
    EXPECT_FALSE(mutexes.held(CSampleApp::kInstanceLockName));
}

TEST_F(CSampleAppTest, ASecondCopyOrTheSiblingUtilityBlocksStartUp) {
    mutexes.hold("SolvaneII System"); // the first copy, or the sibling utility
    auto app = makeApp();
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.outcome(), CSampleApp::Outcome::Refused);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Trimbalt or SolvaneCenter Already Running!"});
    EXPECT_EQ(prompt.asked().front().caption, "");
    EXPECT_EQ(driversMade, 0);
    EXPECT_EQ(windowRuns, 0);
    EXPECT_EQ(services.counts().created, 0);
    app.ExitInstance();
    EXPECT_TRUE(mutexes.held("SolvaneII System")) << "the other copy's lock is not ours to release";
}

TEST_F(CSampleAppTest, AMutexThatCannotBeCreatedRefusesTheStart) {
    mutexes.failCreate = true;
    auto app = makeApp();
    app.InitInstance();
    EXPECT_EQ(app.outcome(), CSampleApp::Outcome::Refused);
    EXPECT_EQ(driversMade, 0);
}

TEST_F(CSampleAppTest, ADriverThatCannotLoadEndsBeforeAnyWindow) {
    std::filesystem::remove(folder / "Zubrik_X64.sys");
    auto app = makeApp();
    app.InitInstance();
    EXPECT_EQ(app.outcome(), CSampleApp::Outcome::DriverFailed);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Driver can't Load !"});
    EXPECT_EQ(windowRuns, 0);
    EXPECT_EQ(sleeper.sleeps().size(), 4U);
}

} // namespace
} // namespace solvane::app
