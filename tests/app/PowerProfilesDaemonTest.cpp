// The modes on a PC against the real power-profile daemon on a private system bus: switched through
// the program's own D-Bus client and read back from the daemon with busctl, and the real program's
// restore on exit and, after a kill, on the next start.
#include "app/PowerProfilesDaemon.h"

#include "platform/FileRegistry.h"
#include "platform/MemoryRegistry.h"
#include "power/PowerModeState.h"
#include "power/SystemProfileModes.h"
#include "support/ChildProcess.h"
#include "support/PrivateSystemBus.h"
#include "support/TempFolder.h"

#include <QDBusConnection>
#include <csignal>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using Firmware = test::PrivateSystemBus::Firmware;
using power::PowerMode;

// A connection of its own to the private bus; the process's system bus is another one.
QDBusConnection privateBus(const std::string& address) {
    static int connections = 0;
    const auto name = QStringLiteral("solvane-test-%1").arg(++connections);
    return QDBusConnection::connectToBus(QString::fromStdString(address), name);
}

struct DaemonCase {
    Firmware firmware;
    const char* what;
    std::vector<std::string> offered;
    // The profile the user runs before Solvane starts, and each mode's profile then.
    std::string usual;
    std::string optimize;
    std::string max;
};

class PowerProfilesDaemonModes : public ::testing::TestWithParam<DaemonCase> {};

TEST_P(PowerProfilesDaemonModes, TheThreeModesSwitchTheDaemonsProfileAndBack) {
    const auto& c = GetParam();
    test::PrivateSystemBus bus(c.firmware);
    if (!bus.unavailable().empty())
        GTEST_SKIP() << bus.unavailable();
    ASSERT_TRUE(bus.switchProfile(c.usual)) << c.what;

    PowerProfilesDaemon daemon(privateBus(bus.address()));
    auto offer = daemon.offer();
    ASSERT_EQ(offer.problem, "");
    std::ranges::sort(offer.profiles);
    EXPECT_EQ(offer.profiles, c.offered);
    EXPECT_EQ(offer.active, c.usual);

    platform::MemoryRegistry registry;
    power::SystemProfileModes modes({&daemon}, registry);
    modes.start();
    ASSERT_TRUE(modes.savingModesAvailable()) << modes.reason();
    EXPECT_EQ(modes.serviceName(), "power-profiles-daemon");
    for (const auto& [mode, profile] : std::vector<std::pair<PowerMode, std::string>>{
             {PowerMode::Optimize, c.optimize},
             {PowerMode::Max, c.max},
             {PowerMode::Default, c.usual},
             {PowerMode::Max, c.max},
         }) {
        EXPECT_EQ(modes.apply(mode), "") << c.what;
        EXPECT_EQ(bus.activeProfile(), profile) << c.what << ", mode " << static_cast<int>(mode);
    }
    EXPECT_EQ(modes.restore(), "");
    EXPECT_EQ(bus.activeProfile(), c.usual) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Firmware, PowerProfilesDaemonModes,
    ::testing::Values(DaemonCase{Firmware::ProfileFile,
                                 "usual balanced",
                                 {"balanced", "performance", "power-saver"},
                                 "balanced",
                                 "power-saver",
                                 "power-saver"},
                      DaemonCase{Firmware::ProfileFile,
                                 "usual performance",
                                 {"balanced", "performance", "power-saver"},
                                 "performance",
                                 "balanced",
                                 "power-saver"},
                      // Without platform support the daemon's placeholder offers no performance profile.
                      DaemonCase{Firmware::Nothing,
                                 "placeholder",
                                 {"balanced", "power-saver"},
                                 "balanced",
                                 "power-saver",
                                 "power-saver"}));

TEST(PowerProfilesDaemon, SaysWhenItIsNotThere) {
    test::PrivateSystemBus bus(Firmware::Nothing);
    if (!bus.unavailable().empty())
        GTEST_SKIP() << bus.unavailable();
    bus.stopDaemon();
    PowerProfilesDaemon daemon(privateBus(bus.address()));
    EXPECT_EQ(daemon.offer().problem, "power-profiles-daemon is not running");

    PowerProfilesDaemon noBus(privateBus("unix:path=/nonexistent/solvane-test-bus"));
    EXPECT_EQ(noBus.offer().problem, "no system bus for power-profiles-daemon");
}

// The real program on a PC (an empty sysfs tree: no board, no sensors) with the daemon on its system
// bus. The previous run ended normally in Max mode, so each start applies Max again.
class ProgramPowerProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = test::programFolder() / "solvane";
        if (!std::filesystem::exists(program))
            GTEST_SKIP() << "the program is not built at " << program;
        if (!bus.unavailable().empty())
            GTEST_SKIP() << bus.unavailable();
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
        auto opened = platform::FileRegistry::open(state / "registry.reg");
        opened.registry->writeString(power::kProductKey, power::kEnableSolvaneValue, "2");
        opened.registry->writeString(power::kProductKey, power::kNormalEndValue, "1");
    }
    std::unique_ptr<test::ChildProcess> start() const {
        return std::make_unique<test::ChildProcess>(
            program,
            std::vector<std::string>{"--hardware", "host", "--sysfs-root", sysfs.path().string(), "--batch",
                                     "--state-dir", state.path().string()},
            std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                               {"XDG_RUNTIME_DIR", runtime.path().string()},
                                               {"DBUS_SYSTEM_BUS_ADDRESS", bus.address()}});
    }
    std::string noteBefore() const {
        std::string notice;
        const auto registry = platform::openRegistrySnapshot(state / "registry.reg", notice);
        return registry->readString(power::kProfileNoteKey, power::kProfileNoteBeforeValue)
            .value_or("(none)");
    }

    test::PrivateSystemBus bus{Firmware::ProfileFile};
    std::filesystem::path program;
    test::TempFolder sysfs;
    test::TempFolder state;
    test::TempFolder runtime;
};

TEST_F(ProgramPowerProfileTest, ExitGivesTheProfileBackAndSoDoesTheStartAfterAKill) {
    {
        auto run = start();
        ASSERT_TRUE(bus.waitForProfile("power-saver")) << "Max was not applied: " << run->errors();
        EXPECT_EQ(noteBefore(), "balanced");
        run->signal(SIGTERM);
        EXPECT_EQ(run->wait(), 0) << run->errors();
        EXPECT_EQ(bus.activeProfile(), "balanced") << "the exit did not give the profile back";
        EXPECT_EQ(noteBefore(), "(none)");
    }
    {
        auto run = start();
        ASSERT_TRUE(bus.waitForProfile("power-saver")) << run->errors();
        run->signal(SIGKILL);
        EXPECT_EQ(run->wait(), 128 + SIGKILL);
        EXPECT_EQ(bus.activeProfile(), "power-saver");
        EXPECT_EQ(noteBefore(), "balanced") << "the killed run left no note of what to give back";
    }
    auto run = start();
    EXPECT_TRUE(bus.waitForProfile("balanced"))
        << "the start after the kill did not give it back: " << run->errors();
    run->signal(SIGTERM);
    EXPECT_EQ(run->wait(), 0) << run->errors();
    EXPECT_EQ(bus.activeProfile(), "balanced") << "Default after a crash changes nothing at the exit";
    EXPECT_EQ(noteBefore(), "(none)");
}

} // namespace
} // namespace solvane::app
