#include "power/PowerMonitor.h"

#include "hw/BoardSettingRoutines.h"
#include "platform/MemoryRegistry.h"
#include "power/ModeTargets.h"
#include "support/FakeRegisters.h"
#include "support/RecordingPowerModule.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

using test::FakeRegisters;

// The main window's side of the commands: the real board routines on fake registers, with every
// write logged into the same call log as the power-saving library.
class RoutedCommands final : public BoardCommands {
public:
    RoutedCommands(PowerModeState& modes, hw::BoardSettingRoutines& routines, std::vector<std::string>& log)
        : m_modes(modes), m_routines(routines), m_log(log) {}
    void send(BoardCommand command) override {
        if (command == BoardCommand::WriteSetting) {
            m_log.push_back("write " + std::to_string(m_modes.PendingSettingIndex));
            m_routines.Apply(m_modes.PendingSettingIndex);
        } else if (command == BoardCommand::ReadBack) {
            m_routines.ReadBack(m_modes.ReadRequest);
        }
    }

private:
    PowerModeState& m_modes;
    hw::BoardSettingRoutines& m_routines;
    std::vector<std::string>& m_log;
};

class PowerMonitorTest : public ::testing::Test {
protected:
    PowerMonitorTest() {
        platformInfo.BoardCode = 2917;
        platformInfo.BoardString = "KX-2917";
        platformInfo.CpuVendor = "Intel";
        platformInfo.BoardSupported = true;
        platformInfo.FanCapable = true;
        platformInfo.OsKind = OsFlavour::Vista;
        platformInfo.SensorKind = 100;
        platformInfo.MaxCpuPhases = 6;
        routineState.checksEnabled = true;
        routines.setBoard({2917, "1.0"}, 6);
        registers.smbusRegister(0x33, 0x10) = 0x0F; // six CPU phase levels
        registers.smbusRegister(0x33, 0x00) = 0x08;

        auto& defaults = modes.DefaultTargets;
        defaults[indexOf(Setting::CpuVoltage)] = 16;
        defaults[indexOf(Setting::DdrVoltage)] = 31;
        defaults[indexOf(Setting::CpuPhase)] = 5;
        defaults[indexOf(Setting::SmartFan)] = 0;
        deriveModeTargets(modes);
        modes.CurrentValues = defaults;
        modes.selectMode(PowerMode::Default);
        monitor.setModeButtonsChanged([this] { ++buttonUpdates; });
    }

    std::vector<std::string>& log() { return power.calls; }
    std::vector<std::string> writes() const {
        std::vector<std::string> found;
        for (const auto& call : power.calls)
            if (call.starts_with("write"))
                found.push_back(call);
        return found;
    }
    std::vector<std::string> planAndWrites() const {
        std::vector<std::string> found;
        for (const auto& call : power.calls)
            if (call.starts_with("write") || call.starts_with("SetPowerMode") ||
                call.starts_with("CPU_THROTTLING") || call.ends_with("SATA"))
                found.push_back(call);
        return found;
    }

    PlatformInfo platformInfo;
    BoardOptions options;
    PowerModeState modes;
    hw::SettingRoutineState routineState;
    FakeRegisters registers;
    hw::BoardBus bus{registers, registers, registers};
    platform::ScriptedRandom random;
    platform::ScriptedPrompt prompt;
    hw::CpuPhaseControl phases{bus, random};
    hw::BoardSettingRoutines routines{
        bus, phases, prompt, modes.CurrentValues, modes.PendingSettingIndex, routineState};
    test::RecordingPowerModule power;
    PowerSavingLibrary library{power.module()};
    RoutedCommands commands{modes, routines, power.calls};
    PowerMeasurement measurement{platformInfo, random};
    platform::MemoryRegistry registry;
    platform::VirtualClockScheduler clock;
    // A CPU-usage library that cannot tell the load: the saving estimate counts every refresh alike.
    struct UnknownUsage final : hw::Tressel {
        int TresselInit(int) override { return 0; }
    } usage;
    PowerMonitor monitor{{platformInfo, options, modes, routineState, measurement, library, bus, usage,
                          commands, registry, clock}};
    int buttonUpdates = 0;
};

TEST_F(PowerMonitorTest, MaxIsApplied300MillisecondsAfterItIsChosen) {
    monitor.start();
    log().clear();
    monitor.SelectMode(PowerMode::Max);
    EXPECT_TRUE(clock.isSet(&monitor, PowerMonitor::kApplyMaxTimer));
    EXPECT_EQ(modes.ActiveMode, PowerMode::Max);
    EXPECT_EQ(buttonUpdates, 1);
    clock.advance(299);
    EXPECT_TRUE(writes().empty());
    clock.advance(1);
    EXPECT_FALSE(clock.isSet(&monitor, PowerMonitor::kApplyMaxTimer)) << "one-shot";
    // The first refresh read the phases back as automatic, which Max keeps: no CPU phase write.
    EXPECT_EQ(planAndWrites(), (std::vector<std::string>{"DisableSATA", "write 0", "write 7", "write 19",
                                                         "CPU_THROTTLING(7)", "SetPowerMode(7)"}));
    EXPECT_EQ(registry.readString(kProductKey, "EnableSolvane"), "2");
    EXPECT_EQ(registry.readString(kMaxModeKey, "DefaultSetting"), formatDefaultSetting(modes.MaxTargets));
    EXPECT_TRUE(clock.isSet(&monitor, PowerMonitor::kRefreshTimer));
    EXPECT_EQ(clock.period(&monitor, PowerMonitor::kRefreshTimer), 3000U);
}

TEST_F(PowerMonitorTest, LibraryCallsFollowTheModeAndTheOperatingSystem) {
    struct Case {
        OsFlavour os;
        PowerMode mode;
        std::vector<std::string> plan;
    };
    const std::vector<Case> cases{
        {OsFlavour::Vista, PowerMode::Optimize, {"DisableSATA", "CPU_THROTTLING(8)", "SetPowerMode(6)"}},
        {OsFlavour::Xp, PowerMode::Optimize, {"DisableSATA", "CPU_THROTTLING(8)"}},
        {OsFlavour::Xp, PowerMode::Max, {"DisableSATA", "CPU_THROTTLING(7)", "SetPowerMode(3)"}},
        {OsFlavour::Vista, PowerMode::Default, {"EnableSATA", "SetPowerMode(8)", "CPU_THROTTLING(8)"}},
        {OsFlavour::Xp, PowerMode::Default, {"EnableSATA", "SetPowerMode(0)", "CPU_THROTTLING(8)"}},
    };
    for (const auto& c : cases) {
        platformInfo.OsKind = c.os;
        modes.selectMode(PowerMode::None);
        log().clear();
        monitor.SelectMode(c.mode);
        clock.advance(300);
        EXPECT_EQ(power.planCalls(), c.plan) << static_cast<int>(c.mode);
        EXPECT_EQ(registry.readString(kProductKey, "EnableSolvane"),
                  std::to_string(static_cast<int>(c.mode)));
    }
}

TEST_F(PowerMonitorTest, TheActiveModeOrASecondApplyWritesNothing) {
    monitor.SelectMode(PowerMode::Default);
    EXPECT_FALSE(clock.isSet(&monitor, PowerMonitor::kApplyDefaultTimer));
    monitor.SelectMode(PowerMode::Max);
    clock.advance(300);
    log().clear();
    monitor.SelectMode(PowerMode::Max);
    EXPECT_FALSE(clock.isSet(&monitor, PowerMonitor::kApplyMaxTimer));
    monitor.ApplyMax();
    EXPECT_TRUE(writes().empty()) << "every target already matches";
}

TEST_F(PowerMonitorTest, AModeChangedElsewhereIsAppliedByTheRefreshTimer) {
    monitor.start();
    monitor.SelectMode(PowerMode::Optimize);
    clock.advance(3000);
    log().clear();
    modes.selectMode(PowerMode::Max); // the advanced page
    clock.advance(300);               // the next refresh is due at 3300
    EXPECT_TRUE(clock.isSet(&monitor, PowerMonitor::kApplyMaxTimer));
    EXPECT_EQ(monitor.lastSeenMode(), PowerMode::Max);
    EXPECT_TRUE(power.planCalls().empty());
    clock.advance(300);
    EXPECT_EQ(power.planCalls(),
              (std::vector<std::string>{"DisableSATA", "CPU_THROTTLING(7)", "SetPowerMode(7)"}));
}

TEST_F(PowerMonitorTest, HighLoadRaisesAFixedPhaseCountAndGivesItBack) {
    routineState.currentPhase = 3;
    modes.CurrentValues[indexOf(Setting::CpuPhase)] = 3;
    monitor.takeStartupPhase();
    for (int refresh = 0; refresh < 3; ++refresh) {
        registers.writes.clear();
        measurement.values().CpuPower = 7500;
        monitor.LoadPhaseRule();
        EXPECT_EQ(registers.writes, (std::vector<FakeRegisters::Write>{{"smbus", 0x32, 0x01, 0x90}}))
            << refresh;
    }
    EXPECT_EQ(monitor.forcedCpuPhases(), 4);
    for (int refresh = 0; refresh < 2; ++refresh) {
        log().clear();
        measurement.values().CpuPower = 6500;
        modes.CurrentValues[indexOf(Setting::CpuPhase)] = 4; // what the forced register reads back
        monitor.LoadPhaseRule();
        EXPECT_EQ(writes(), std::vector<std::string>{"write 6"}) << refresh;
        EXPECT_EQ(modes.CurrentValues[indexOf(Setting::CpuPhase)], 3) << "the user's count is written back";
    }
}

// Every step of the load rule at its edge and one past it, in power and in the user's level.
TEST_F(PowerMonitorTest, EveryLoadStepAtItsEdges) {
    struct Step {
        int threshold;
        SettingValue below; // the rule raises a level below this
        std::uint8_t pattern;
        int forced;
    };
    const std::vector<Step> steps{
        {8000, 5, 0x80, 5}, {7000, 4, 0x90, 4}, {6000, 3, 0x91, 3}, {5000, 2, 0x93, 2}};
    const auto ruleWrites = [&](SettingValue user, int cpuPower) {
        routineState.currentPhase = user;
        modes.CurrentValues[indexOf(Setting::CpuPhase)] = user;
        monitor.takeStartupPhase();
        registers.writes.clear();
        log().clear();
        measurement.values().CpuPower = cpuPower;
        monitor.LoadPhaseRule();
        return registers.writes;
    };
    for (const auto& step : steps) {
        const auto where = "at " + std::to_string(step.threshold);
        EXPECT_EQ(ruleWrites(step.below - 1, step.threshold + 1),
                  (std::vector<FakeRegisters::Write>{{"smbus", 0x32, 0x01, step.pattern}}))
            << where;
        EXPECT_EQ(monitor.forcedCpuPhases(), step.forced) << where;
        EXPECT_TRUE(ruleWrites(step.below - 1, step.threshold).empty()) << where << ": the threshold itself";
        EXPECT_TRUE(ruleWrites(step.below, step.threshold + 1).empty()) << where << ": the level itself";
        EXPECT_TRUE(writes().empty()) << where << ": nothing forced, nothing to give back";
    }
}

TEST_F(PowerMonitorTest, TheLoadRuleForcesOtherRegulatorsThroughTheirOwnPhaseWrite) {
    struct Case {
        int board;
        std::uint8_t device;
        std::uint8_t old;
        int cpuPower;
        std::uint8_t written; // the board's own pattern of the forced level
    };
    // 2910 keeps its memory and chipset phase switches at 0x32: that register is never touched.
    for (const auto& [board, device, old, cpuPower, written] :
         std::vector<Case>{{2910, 0x36, 0xC0, 9000, 0xD0},    // level 5: base OR 0x90
                           {2910, 0x36, 0xC0, 6500, 0xD3},    // level 3: base OR 0x93
                           {2915, 0x34, 0x50, 7500, 0x51},    // level 4: base OR 0x41
                           {2915, 0x34, 0x40, 5500, 0x47}}) { // level 2: base OR 0x47, LED bit 4 kept
        platformInfo.BoardCode = board;
        registers.writes.clear();
        registers.smbusRegister(device, 0x01) = old;
        routineState.currentPhase = 1;
        modes.CurrentValues[indexOf(Setting::CpuPhase)] = 1;
        monitor.takeStartupPhase();
        measurement.values().CpuPower = cpuPower;
        monitor.LoadPhaseRule();
        ASSERT_EQ(registers.writes.size(), 1U) << board << " at " << cpuPower;
        EXPECT_EQ(registers.writes[0].address, device) << board;
        EXPECT_EQ(registers.writes[0].value, written) << board << " at " << cpuPower;
    }
    // A board without a level pattern is left alone.
    platformInfo.BoardCode = 2918;
    registers.writes.clear();
    monitor.LoadPhaseRule();
    EXPECT_TRUE(registers.writes.empty());
}

TEST_F(PowerMonitorTest, AutomaticPhasesAreNeverForced) {
    routineState.currentPhase = 0;
    monitor.takeStartupPhase();
    measurement.values().CpuPower = 9000;
    monitor.LoadPhaseRule();
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_TRUE(monitor.message().empty());
}

// A board whose CPU phases are one Super I/O switch shows the switch, not a phase count.
TEST_F(PowerMonitorTest, ASwitchBoardShowsItsCpuPhaseSwitch) {
    platformInfo.BoardCode = 2901;
    platformInfo.MaxCpuPhases = 2;
    routines.setBoard({2901, "1.0"}, 2);
    registers.sio[0xD1] = 0x00; // the switch's bit clear: phases fixed
    monitor.Refresh();
    EXPECT_EQ(monitor.phaseReadouts().cpu, "Disable");
    registers.sio[0xD1] = 0x01;
    monitor.Refresh();
    EXPECT_EQ(monitor.phaseReadouts().cpu, "Auto");
}

TEST_F(PowerMonitorTest, TheLoadMessageShowsWhileTheActiveCountDiffers) {
    modes.CurrentValues[indexOf(Setting::CpuPhase)] = 2;
    monitor.takeStartupPhase();
    routineState.currentPhase = 2;
    registers.smbusRegister(0x32, 0x01) = 0x91; // the regulator holds level 3
    measurement.values().CpuPower = 6500;
    monitor.Refresh();
    EXPECT_EQ(monitor.activeCpuPhases(), 4);
    EXPECT_EQ(monitor.message(), "CPU phase changed by loading !");
    platformInfo.BoardCode = 2909;
    monitor.LoadPhaseRule();
    EXPECT_TRUE(monitor.message().empty());
}

TEST_F(PowerMonitorTest, SmartFanStepsWithTheTemperature) {
    modes.CurrentValues[indexOf(Setting::SmartFan)] = 1;
    const auto fanDuties = [&] {
        std::vector<std::uint32_t> duties;
        for (const auto& write : registers.writes)
            if (write.bus == "fan" && write.reg == 0xA3)
                duties.push_back(write.value);
        registers.writes.clear();
        return duties;
    };
    monitor.SmartFanStep(41); // Default: base 5, unknown level gives full duty
    EXPECT_EQ(monitor.fanLevel(), 7);
    EXPECT_EQ(fanDuties(), std::vector<std::uint32_t>{0xFF});
    monitor.SmartFanStep(41);
    EXPECT_TRUE(fanDuties().empty()) << "no change, no write";
    const std::vector<std::pair<int, int>> steps{{30, 5}, {20, 3}, {12, 1}, {4, 0},
                                                 {11, 1}, {21, 3}, {31, 5}, {41, 7}};
    for (const auto& [temperature, level] : steps) {
        monitor.SmartFanStep(temperature);
        EXPECT_EQ(monitor.fanLevel(), level) << temperature;
    }
    // In Max mode the steps sit 20 degrees higher.
    modes.selectMode(PowerMode::Max);
    monitor.SmartFanStep(50);
    EXPECT_EQ(monitor.fanLevel(), 5);

    fanDuties();
    modes.CurrentValues[indexOf(Setting::SmartFan)] = 0;
    monitor.SmartFanStep(20);
    EXPECT_EQ(fanDuties(), std::vector<std::uint32_t>{0xFF}) << "the fan at full duty";
}

TEST_F(PowerMonitorTest, TheOtherFanChannelsFollowTheSmartFanSwitch) {
    modes.CurrentValues[indexOf(Setting::SmartFan)] = 1;
    measurement.values().TotalConsumption = 100;
    monitor.SmartFanStep(40);
    std::vector<FakeRegisters::Write> channels;
    for (const auto& write : registers.writes)
        if (write.reg != 0xA3)
            channels.push_back(write);
    EXPECT_EQ(channels, (std::vector<FakeRegisters::Write>{
                            {"fan", 0, 0xB3, 0x2F}, {"fan", 0, 0xC3, 0x2F}, {"fan", 0, 0xD3, 0x2F}}));
}

TEST_F(PowerMonitorTest, FanPreparationSetsTheFirmwareUpAndKeepsTheStartLevels) {
    registers.cmos[0x96] = 0x02;
    registers.cmos[0x94] = 0x0F;
    registers.cmos[0xA3] = 0x85;
    registers.cmos[0xB3] = 0x80;
    monitor.PrepareFan();
    EXPECT_EQ(registers.cmos[0x96], 0x0A);
    EXPECT_EQ(registers.cmos[0x94], 0x0E);
    registers.writes.clear();
    modes.selectMode(PowerMode::Optimize);
    monitor.OnExit();
    EXPECT_EQ(registers.writes,
              (std::vector<FakeRegisters::Write>{{"fan", 0, 0xB3, 0x7F}, {"fan", 0, 0xA3, 0x8F}}))
        << "0x85 is level 1, exactly 0x80 level 0";
    EXPECT_EQ(registry.readString(kProductKey, "SolvaneNormalEnd"), "1");
    EXPECT_EQ(power.planCalls(),
              (std::vector<std::string>{"SetPowerMode(6)", "EnableSATA", "CPU_THROTTLING(8)"}));
}

// The start-up fan level of every firmware duty band, at its edge and one past it; the CMOS fan
// bytes are written only when they are not already set up.
TEST_F(PowerMonitorTest, FanStartLevelsAtEveryBandEdge) {
    const std::vector<std::pair<std::uint8_t, int>> bands{
        {0x80, 0}, {0x81, 1}, {0x90, 1}, {0x91, 2}, {0xA0, 2}, {0xA1, 3}, {0xB0, 3},
        {0xB1, 4}, {0xC0, 4}, {0xC1, 5}, {0xE0, 5}, {0xE1, 6}, {0xF0, 6}, {0xF1, 7}};
    constexpr std::array<std::uint8_t, 8> kDuty{0x7F, 0x8F, 0x9F, 0xAF, 0xBF, 0xCF, 0xE7, 0xFF};
    for (const auto& [byte, level] : bands) {
        registers.cmos[0x96] = 0xFA;
        registers.cmos[0x94] = 0xFE;
        registers.cmos[0xA3] = byte;
        registers.cmos[0xB3] = byte;
        registers.writes.clear();
        monitor.PrepareFan();
        EXPECT_TRUE(registers.writes.empty()) << "the firmware is already set up";
        monitor.OnExit();
        const auto duty = kDuty[static_cast<std::size_t>(level)];
        EXPECT_EQ(registers.writes,
                  (std::vector<FakeRegisters::Write>{{"fan", 0, 0xB3, duty}, {"fan", 0, 0xA3, duty}}))
            << "byte " << int{byte};
    }
}

TEST_F(PowerMonitorTest, ResumeReselectsTheModeAfterSixSeconds) {
    monitor.SelectMode(PowerMode::Optimize);
    clock.advance(300);
    EXPECT_TRUE(monitor.OnPowerBroadcast(PowerMonitor::kSuspend));
    EXPECT_FALSE(clock.isSet(&monitor, PowerMonitor::kRefreshTimer));
    log().clear();
    const int updates = buttonUpdates;
    EXPECT_TRUE(monitor.OnPowerBroadcast(PowerMonitor::kResumeAutomatic));
    EXPECT_EQ(log().front(), "DetectSuperIO(100)");
    EXPECT_TRUE(clock.isSet(&monitor, PowerMonitor::kRefreshTimer));
    clock.advance(5999);
    EXPECT_TRUE(clock.isSet(&monitor, PowerMonitor::kResumeTimer));
    clock.advance(1);
    EXPECT_FALSE(clock.isSet(&monitor, PowerMonitor::kResumeTimer));
    EXPECT_GT(buttonUpdates, updates);
    EXPECT_FALSE(clock.isSet(&monitor, PowerMonitor::kApplyOptimizeTimer)) << "the mode is unchanged";
    EXPECT_TRUE(writes().empty());
}

TEST_F(PowerMonitorTest, AnUnsupportedBoardRefreshesNothingButKeepsTheModeValues) {
    platformInfo.BoardSupported = false;
    modes.DefaultTargets = notPresentVector();
    deriveModeTargets(modes);
    monitor.SelectMode(PowerMode::Max);
    clock.advance(300);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(registry.readString(kProductKey, "EnableSolvane"), "2");
    log().clear();
    monitor.OnExit();
    EXPECT_TRUE(power.planCalls().empty());
    EXPECT_EQ(registry.readString(kProductKey, "SolvaneNormalEnd"), "1");
}

// Every temperature step of the smart fan, at its edge and one degree past it, in each mode's base.
TEST_F(PowerMonitorTest, SmartFanThresholdsOfEveryMode) {
    modes.CurrentValues[indexOf(Setting::SmartFan)] = 1;
    struct Step {
        int above; // T = base + above
        int level; // the level the step leaves
    };
    // From the unknown level to full duty, then down and up through every rule: each pair holds the
    // edge (no change) and one degree past it.
    const std::vector<Step> steps{
        {0, 7},  {30, 7}, {29, 5}, // T < base + 30 and level > 5: 5
        {20, 5}, {19, 3},          // T < base + 20 and level > 3: 3
        {10, 3}, {9, 1},           // T < base + 10 and level > 1: 1
        {0, 1},  {-1, 0},          // T < base and level > 0: 0
        {5, 0},  {6, 1},           // T > base + 5 and level < 1: 1
        {15, 1}, {16, 3},          // T > base + 15 and level < 3: 3
        {25, 3}, {26, 5},          // T > base + 25 and level < 5: 5
        {35, 5}, {36, 7},          // T > base + 35 and level < 7: 7
    };
    for (const auto& [mode, base] : std::vector<std::pair<PowerMode, int>>{
             {PowerMode::Default, 5}, {PowerMode::Optimize, 15}, {PowerMode::Max, 25}}) {
        PowerMonitor fresh{{platformInfo, options, modes, routineState, measurement, library, bus, usage,
                            commands, registry, clock}};
        modes.selectMode(mode);
        for (const auto& [above, level] : steps) {
            fresh.SmartFanStep(base + above);
            EXPECT_EQ(fresh.fanLevel(), level) << "base " << base << ", T = base + " << above;
        }
    }
}

} // namespace
} // namespace solvane::power
