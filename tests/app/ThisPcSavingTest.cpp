// The saving on an ordinary PC under a steady synthetic load: a fixture tree whose package energy
// counter and /proc/stat advance as scripted, Default drawing more than Optimize at the same load.
#include "SimulatedCore.h"
#include "app/PowerHistoryRun.h"
#include "host/HostHardware.h"
#include "host/HwmonSource.h"
#include "host/PlatformProfileFile.h"
#include "platform/RegistrySeed.h"
#include "power/PowerMeasurement.h"
#include "power/ThisPcDefaultDraw.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <regex>

namespace solvane::app {
namespace {

// The package's draw in each mode at the scripted 50 % load, in watts.
constexpr double kDefaultWatts = 40.0;
constexpr double kOptimizeWatts = 32.0;
constexpr double kLoad = 0.5;
constexpr std::uint64_t kTicksPerSecond = 400; // 4 processors at 100 ticks a second
constexpr std::int64_t kEpoch = 1'767'225'600; // 2026-01-01, the history's wall clock at the start

// A PC whose counters advance with the virtual clock: every time the back-end reads its clock,
// the energy counter takes what the package drew since, in the mode the program has applied.
class ScriptedPc {
public:
    ScriptedPc() {
        std::filesystem::copy(
            std::filesystem::path(SOLVANE_TEST_DATA) / "host" / "real-z390-desktop", m_sys.path(),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
        advance();
        host::HostOptions options{.sysfsRoot = m_sys.path(), .procRoot = m_proc.path(), .pciIdsFile = {}};
        options.clock = [this] { return advance(); };
        hardware =
            std::make_unique<host::HostHardware>(options, std::make_shared<host::HwmonSource>(m_sys.path()));
    }

    double seconds() const { return static_cast<double>(services.clock.now()) / 1000.0; }

    double advance() {
        const double now = seconds();
        const bool optimized = core && core->state().modes.ActiveMode == power::PowerMode::Optimize;
        m_microjoules += (optimized ? kOptimizeWatts : kDefaultWatts) * (now - m_lastSeconds) * 1e6;
        m_lastSeconds = now;
        test::writeFile(m_sys.path() / "class" / "powercap" / "intel-rapl:0" / "energy_uj",
                        std::to_string(static_cast<std::uint64_t>(m_microjoules)) + "\n");
        const auto total = static_cast<std::uint64_t>(now * kTicksPerSecond) + 1000;
        const auto busy = static_cast<std::uint64_t>(static_cast<double>(total) * kLoad);
        test::writeFile(m_proc.path() / "stat", "cpu  " + std::to_string(busy) + " 0 0 " +
                                                    std::to_string(total - busy) + " 0 0 0 0\n");
        return now;
    }

    void refreshes(int count) {
        services.clock.advance(std::uint64_t{power::PowerMonitor::kRefreshPeriodMs} * count);
    }

    test::TempFolder m_sys;
    test::TempFolder m_proc;
    test::TempFolder state;
    double m_microjoules = 100e6;
    double m_lastSeconds = 0;
    test::CoreServices services;
    std::unique_ptr<host::HostHardware> hardware;
    std::unique_ptr<SolvaneCore> core;
};

// The value of a metrics sample line ("name{labels} value").
double metric(const std::string& text, const std::string& name) {
    const std::regex line("(^|\n)" + name + R"(\{[^}]*\} ([0-9.eE+-]+))");
    std::smatch match;
    if (!std::regex_search(text, match, line))
        return -1;
    return std::stod(match[2]);
}

TEST(ThisPcSaving, TheShownSavingFollowsTheScriptedDifferenceIntoTheHistoryAndTheMetrics) {
    ScriptedPc pc;
    pc.services.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4");
    pc.core = std::make_unique<SolvaneCore>(pc.services.on(*pc.hardware, 3));
    pc.core->initialise();
    ASSERT_FALSE(pc.core->state().platform.BoardSupported);
    auto* monitor = pc.core->session().monitor();
    ASSERT_NE(monitor, nullptr);
    ASSERT_NE(monitor->thisPc(), nullptr) << "an ordinary PC is measured through its own read-outs";
    PowerHistoryRun run(*pc.core, pc.state.path(), "",
                        [&pc] { return kEpoch + static_cast<std::int64_t>(pc.seconds()); });

    monitor->SelectMode(power::PowerMode::Default);
    pc.refreshes(20);
    const auto* figures = monitor->thisPc();
    ASSERT_TRUE(figures->drawnWatts.has_value()) << figures->drawMissing;
    EXPECT_NEAR(*figures->drawnWatts, kDefaultWatts, 0.01);
    EXPECT_NEAR(*figures->cpuLoad, kLoad, 0.01);
    EXPECT_EQ(figures->savingWatts, 0.0) << "Default saves nothing against itself";

    monitor->SelectMode(power::PowerMode::Optimize);
    pc.refreshes(20);
    ASSERT_TRUE(figures->savingWatts.has_value()) << figures->savingMissing;
    const double scripted = kDefaultWatts - kOptimizeWatts;
    EXPECT_NEAR(*figures->savingWatts, scripted, 0.15 * scripted);
    EXPECT_TRUE(figures->savingEstimated);

    const auto& latest = run.history()->latest();
    ASSERT_TRUE(latest.has_value());
    EXPECT_NEAR(latest->savingWatts, scripted, 0.15 * scripted);
    EXPECT_NEAR(latest->systemWatts, kOptimizeWatts, 0.01);
    EXPECT_EQ(latest->powerSource, "CPU package power (powercap intel-rapl:0 (package-0))");
    run.history()->flush();
    const auto minutes = run.history()->store()->minutes(0, INT64_MAX);
    ASSERT_FALSE(minutes.empty());
    EXPECT_EQ(minutes.back().powerSource, latest->powerSource) << "the stored minute names it too";
    // 20 refreshes of 3 s at about 8 W.
    EXPECT_NEAR(run.history()->savedKwh() * 3.6e6, 20 * 3 * scripted, 0.15 * 20 * 3 * scripted) << "joules";

    const auto metrics = run.metricsText();
    EXPECT_NEAR(metric(metrics, "solvane_power_saving_watts"), scripted, 0.15 * scripted) << metrics;
    EXPECT_NEAR(metric(metrics, "solvane_cpu_power_watts"), kOptimizeWatts, 0.1) << metrics;
    EXPECT_EQ(metric(metrics, "solvane_up"), 1) << metrics;
    EXPECT_NE(metrics.find("solvane_power_source_info{"), std::string::npos) << metrics;
    EXPECT_NE(metrics.find("powercap intel-rapl:0"), std::string::npos) << metrics;
    pc.core->shutdown();
}

// A run that starts in Optimize after an earlier run saw Default on the same PC: the saving is
// counted from the first refresh in Optimize, from what the earlier run kept. The modes switch
// the fixture's platform_profile, as on a PC without the profile daemon.
TEST(ThisPcSaving, ARunStartedInASavingModeCountsAtOnceFromTheDefaultDrawOfAnEarlierRun) {
    ScriptedPc pc;
    const auto acpi = pc.m_sys.path() / "firmware" / "acpi";
    std::filesystem::create_directories(acpi);
    test::writeFile(acpi / "platform_profile", "balanced\n");
    test::writeFile(acpi / "platform_profile_choices", "low-power balanced performance\n");
    host::PlatformProfileFile profiles(pc.m_sys.path());
    pc.services.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4");
    const auto run = [&](power::PowerMode mode) {
        pc.core = std::make_unique<SolvaneCore>(pc.services.on(*pc.hardware, 3));
        pc.core->session().useSystemProfiles({&profiles});
        pc.core->initialise();
        auto* monitor = pc.core->session().monitor();
        monitor->SelectMode(mode);
        pc.refreshes(2);
        return monitor;
    };
    const auto kept = [&pc] {
        return pc.services.registry.readString(power::kSavingTotalsKey, power::kThisPcDrawValues[1].name);
    };
    const auto* figures = run(power::PowerMode::Optimize)->thisPc();
    EXPECT_EQ(test::readTextFile(acpi / "platform_profile"), "low-power\n");
    EXPECT_FALSE(figures->savingWatts.has_value()) << "no Default seen on this PC yet";
    EXPECT_NE(figures->savingMissing.find("not yet known"), std::string::npos) << figures->savingMissing;
    pc.core->shutdown();
    EXPECT_FALSE(kept()) << "nothing learned of Default, nothing kept";

    auto* monitor = run(power::PowerMode::Default);
    pc.refreshes(20);
    monitor->SelectMode(power::PowerMode::Optimize);
    pc.refreshes(1);
    EXPECT_TRUE(kept()) << "kept as soon as a saving mode is applied";
    pc.core->shutdown();

    figures = run(power::PowerMode::Optimize)->thisPc();
    ASSERT_TRUE(figures->savingWatts.has_value()) << figures->savingMissing;
    const double scripted = kDefaultWatts - kOptimizeWatts;
    EXPECT_NEAR(*figures->savingWatts, scripted, 0.15 * scripted);
    pc.core->shutdown();
}

} // namespace
} // namespace solvane::app
