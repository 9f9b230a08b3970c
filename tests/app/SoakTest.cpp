// A day of Optimize mode on a simulated KX-2917 under a changing load, on the virtual clock: the
// energy saved, as the registry file keeps it, must be exactly the sum of what each refresh saved,
// must never go down, and must carry over into the next run.
#include "SimulatedCore.h"
#include "app/SolvaneCore.h"
#include "platform/FileRegistry.h"
#include "platform/RegistrySeed.h"
#include "sim/SimulatedHardware.h"
#include "sim/physics/ScriptedCpuLoad.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace solvane::app {
namespace {

using power::PowerMode;

constexpr std::uint64_t kHourMs = 3600 * 1000;
constexpr std::uint64_t kDayMs = 24 * kHourMs;

// Energy saved in 0.01 W·s: whole hundredths of a kWh ("degree") plus the remainder.
std::int64_t savedEnergy(const platform::Registry& registry) {
    const auto hundredths = registry.readDword(power::kSavingTotalsKey, power::kSavingTotalValue).value_or(0);
    const auto remainder =
        registry.readDword(power::kSavingTotalsKey, power::kSavingRemainderValue).value_or(0);
    return std::int64_t{hundredths} * power::kRemainderPerHundredthKWh + remainder;
}

// What the file on disk holds, read the way the next start would read it.
std::int64_t savedEnergyOnDisk(const std::filesystem::path& file) {
    std::string notice;
    const auto registry = platform::openRegistrySnapshot(file, notice);
    EXPECT_TRUE(notice.empty()) << notice;
    return savedEnergy(*registry);
}

// One run of the program's core: the board, the registry file and the clock outlive it, as the
// machine and the state folder outlive a process.
class CoreRun {
public:
    CoreRun(const std::filesystem::path& stateFolder, platform::VirtualClockScheduler& clock) {
        sim::SimulationOptions options;
        options.boardCode = 2917;
        options.stateFolder = stateFolder;
        options.seed = 11;
        // Idle, busy and in-between stretches; the step is no multiple of the 3-second refresh, so
        // the load changes at every point of a refresh interval.
        options.cpuLoad = std::make_shared<sim::ScriptedCpuLoad>(
            std::vector<double>{0.03, 0.95, 0.4, 0.1, 1.0, 0.65, 0.0, 0.8, 0.25, 0.55, 0.9, 0.05},
            std::chrono::milliseconds(97'000));
        options.clock = [&clock] { return std::chrono::milliseconds(clock.now()); };
        m_hardware = std::make_unique<sim::SimulatedHardware>(options);

        auto opened = platform::FileRegistry::open(stateFolder / "registry.reg");
        EXPECT_TRUE(opened.notice.empty()) << opened.notice;
        m_registry = std::move(opened.registry);
        platform::seedWindowsValues(*m_registry, m_system);
        m_core = std::make_unique<SolvaneCore>(
            SolvaneCore::Services{*m_hardware, *m_registry, m_system, clock, m_prompt, m_random, 23, {}});
    }
    ~CoreRun() {
        m_core->shutdown();
        EXPECT_TRUE(m_registry->lastError().empty()) << m_registry->lastError();
    }

    SolvaneCore& core() { return *m_core; }
    platform::FileRegistry& registry() { return *m_registry; }
    power::PowerMonitor& monitor() { return *m_core->session().monitor(); }
    const power::Measurements& measurements() { return m_core->session().measurement().values(); }

private:
    std::unique_ptr<sim::SimulatedHardware> m_hardware;
    std::unique_ptr<platform::FileRegistry> m_registry;
    platform::FakeSystemFacts m_system;
    platform::ScriptedPrompt m_prompt;
    platform::LcgRandom m_random;
    std::unique_ptr<SolvaneCore> m_core;
};

// Follows every refresh of a run: the registry must hold what it held at the start plus every
// interval's saving so far, and never less than after the refresh before.
class SavingLedger {
public:
    SavingLedger(CoreRun& run, std::int64_t start) : m_run(run), m_expected(start), m_last(start) {
        run.monitor().setRefreshed([this] { check(); });
    }

    void check() {
        ++m_refreshes;
        const std::int64_t saving = m_run.measurements().LastIntervalSaving;
        m_expected += saving;
        if (saving > 0)
            ++m_savingRefreshes;
        const std::int64_t saved = savedEnergy(m_run.registry());
        if (saved != m_expected || saved < m_last) {
            ++m_faults;
            if (m_faults <= 5)
                ADD_FAILURE() << "refresh " << m_refreshes << ": the registry holds " << saved
                              << ", expected " << m_expected << " (the refresh before left " << m_last
                              << ", this one saved " << saving << ")";
        }
        m_last = saved;
    }

    std::int64_t expected() const { return m_expected; }
    int refreshes() const { return m_refreshes; }
    int savingRefreshes() const { return m_savingRefreshes; }
    int faults() const { return m_faults; }

private:
    CoreRun& m_run;
    std::int64_t m_expected;
    std::int64_t m_last;
    int m_refreshes = 0;
    int m_savingRefreshes = 0;
    int m_faults = 0;
};

// Every refresh that saves something rewrites the registry file and flushes it and its folder to
// disk: on a disk a day of refreshes spends minutes waiting for those flushes, on a memory file
// system none. The behaviour under test is the same on both.
std::filesystem::path quickStateBase() {
    const std::filesystem::path memory = "/dev/shm";
    std::error_code error;
    if (std::filesystem::is_directory(memory, error) && ::access(memory.c_str(), W_OK) == 0)
        return memory;
    return std::filesystem::temp_directory_path();
}

TEST(SoakTest, ADayOfOptimizeModeKeepsEverySavedWattSecondAcrossARestart) {
    test::TempFolder state(quickStateBase());
    const auto registryFile = state / "registry.reg";
    // The run before ended normally in Optimize mode with 0.05 kWh saved and a remainder just short
    // of the next hundredth.
    constexpr std::uint32_t kSeededHundredths = 5;
    constexpr std::uint32_t kSeededRemainder = 3'599'990;
    {
        auto opened = platform::FileRegistry::open(registryFile);
        auto& seed = *opened.registry;
        seed.writeString(power::kProductKey, power::kEnableSolvaneValue, "1");
        seed.writeString(power::kProductKey, power::kNormalEndValue, "1");
        seed.writeDwords(power::kSavingTotalsKey, {{power::kSavingTotalValue, kSeededHundredths},
                                                   {power::kSavingRemainderValue, kSeededRemainder}});
    }
    const std::int64_t seeded =
        std::int64_t{kSeededHundredths} * power::kRemainderPerHundredthKWh + kSeededRemainder;

    platform::VirtualClockScheduler clock;
    std::int64_t afterDay = 0;
    std::int64_t dayHundredths = 0;
    {
        CoreRun run(state.path(), clock);
        run.core().initialise();
        run.core().enableSettingCommands();
        ASSERT_NE(run.core().session().monitor(), nullptr);
        ASSERT_EQ(run.core().state().modes.ActiveMode, PowerMode::Optimize);
        ASSERT_EQ(savedEnergy(run.registry()), seeded);

        SavingLedger ledger(run, seeded);
        for (std::uint64_t hour = 0; hour < 24 && ledger.faults() == 0; ++hour) {
            clock.advance(kHourMs);
            EXPECT_EQ(savedEnergyOnDisk(registryFile), ledger.expected()) << "after hour " << hour + 1;
        }
        EXPECT_EQ(ledger.faults(), 0);
        // One refresh after the 300 ms apply, then one every 3 seconds.
        EXPECT_EQ(ledger.refreshes(), static_cast<int>((kDayMs - 300) / 3000) + 1);
        // The ledger proves something only if the day saved energy on many refreshes. The run starts
        // in Optimize with no Default figure to compare with, so only what running fewer CPU phases
        // saves is counted, and only at the loads where the regulator sheds phases.
        EXPECT_GT(ledger.savingRefreshes(), ledger.refreshes() / 3);
        afterDay = ledger.expected();
        EXPECT_GE(afterDay - seeded, 2 * power::kRemainderPerHundredthKWh)
            << "a day saved less than 0.02 kWh";
        dayHundredths = run.measurements().TotalSavingHundredthKWh;
        EXPECT_EQ(run.monitor().readouts().energySaved,
                  power::savedEnergyText(dayHundredths, run.measurements().TotalSavingRemainder));
        EXPECT_EQ(run.core().state().modes.ActiveMode, PowerMode::Optimize);
    }
    EXPECT_EQ(savedEnergyOnDisk(registryFile), afterDay) << "the exit lost or added saved energy";

    // The next run starts from the file alone: same totals, same text, and Optimize again.
    CoreRun next(state.path(), clock);
    next.core().initialise();
    next.core().enableSettingCommands();
    ASSERT_NE(next.core().session().monitor(), nullptr);
    EXPECT_EQ(next.measurements().TotalSavingHundredthKWh, dayHundredths);
    EXPECT_EQ(next.measurements().TotalSavingHundredthKWh * power::kRemainderPerHundredthKWh +
                  next.measurements().TotalSavingRemainder,
              afterDay);
    EXPECT_EQ(next.monitor().readouts().energySaved,
              power::savedEnergyText(dayHundredths, next.measurements().TotalSavingRemainder));
    EXPECT_EQ(next.core().state().modes.ActiveMode, PowerMode::Optimize);

    SavingLedger ledger(next, afterDay);
    clock.advance(kHourMs);
    EXPECT_EQ(ledger.faults(), 0);
    EXPECT_GT(ledger.expected(), afterDay) << "the second run added nothing";
    EXPECT_EQ(savedEnergyOnDisk(registryFile), ledger.expected());
}

// One board under a steady load, its core on a clock shared with its twin.
class TwinBoard {
public:
    TwinBoard(platform::VirtualClockScheduler& clock, std::uint32_t seed)
        : m_hardware(
              test::simulatedBoard({.board = 2917,
                                    .load = 0.5,
                                    .seed = seed,
                                    .clock = [&clock] { return std::chrono::milliseconds(clock.now()); }})),
          m_core(
              SolvaneCore::Services{*m_hardware, m_registry, m_system, clock, m_prompt, m_random, seed, {}}) {
        platform::seedWindowsValues(m_registry, m_system);
        m_core.initialise();
        m_core.enableSettingCommands();
    }

    SolvaneCore& core() { return m_core; }
    double systemWatts() { return m_hardware->board().physics().totalWatts(); }
    // What the program has saved so far, in 0.01 W·s.
    std::int64_t saved() {
        const auto& m = m_core.session().measurement().values();
        return m.TotalSavingHundredthKWh * power::kRemainderPerHundredthKWh + m.TotalSavingRemainder;
    }

private:
    std::unique_ptr<sim::SimulatedHardware> m_hardware;
    platform::MemoryRegistry m_registry;
    platform::FakeSystemFacts m_system;
    platform::ScriptedPrompt m_prompt;
    platform::LcgRandom m_random;
    SolvaneCore m_core;
};

// Two boards under the same load on one clock: one stays in Default, the other runs a quarter hour of
// Default and then a day of Max. What the program counts as saved over that day is the energy the
// simulated system really saved against its Default twin.
TEST(SoakTest, ADayOfMaxModeCountsTheEnergyTheBoardSaved) {
    platform::VirtualClockScheduler clock;
    TwinBoard reference(clock, 31);
    TwinBoard saving(clock, 37);
    clock.advance(15 * 60 * 1000);
    saving.core().session().monitor()->SelectMode(PowerMode::Max);
    const std::int64_t before = saving.saved();
    double simulated = 0; // W·s
    constexpr std::uint64_t kStepMs = power::PowerMonitor::kRefreshPeriodMs;
    for (std::uint64_t elapsed = 0; elapsed < kDayMs; elapsed += kStepMs) {
        clock.advance(kStepMs);
        simulated += (reference.systemWatts() - saving.systemWatts()) * kStepMs / 1000.0;
    }
    const double counted = static_cast<double>(saving.saved() - before) / 100; // W·s
    ASSERT_GT(simulated, 0);
    EXPECT_NEAR(counted, simulated, 0.05 * simulated)
        << "counted " << counted / 3.6e6 << " kWh, the board saved " << simulated / 3.6e6 << " kWh";
}

} // namespace
} // namespace solvane::app
