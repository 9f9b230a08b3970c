// The board routines against every simulated board: what they write, the board keeps, and reads
// back as the same setting; a setting a board has no register for causes no bus write at all.
#include "SimulatedCore.h"
#include "app/SolvaneCore.h"
#include "hw/SettingRegisterMap.h"
#include "power/ModeTargets.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using power::Setting;

struct SimulatedRig {
    explicit SimulatedRig(int board)
        : hardware(test::simulatedBoard({.board = board, .load = 0.4, .seed = 7})),
          core(std::make_unique<SolvaneCore>(services.on(*hardware, 7))) {
        core->initialise();
        core->enableSettingCommands();
    }

    std::vector<sim::Transaction> apply(Setting setting, power::SettingValue value) {
        auto& modes = core->state().modes;
        modes.CurrentValues[static_cast<std::size_t>(setting)] = value;
        hardware->board().log().clear();
        power::WriteSetting(modes, core->commands(), power::indexOf(setting));
        return hardware->board().log().writes();
    }
    // Puts another value in the setting's slot, then reads the setting back from the board.
    void forget(Setting setting, power::SettingValue value) {
        auto& modes = core->state().modes;
        modes.CurrentValues[static_cast<std::size_t>(setting)] = value == 0 ? 1 : 0;
        power::ReadSetting(modes, core->commands(), power::indexOf(setting));
    }
    power::SettingValue current(Setting setting) const {
        return core->state().modes.CurrentValues[static_cast<std::size_t>(setting)];
    }

    test::CoreServices services;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    std::unique_ptr<SolvaneCore> core;
};

// The values to try for a setting on a board: first, default and last option of a voltage; every
// CPU phase level; the switch positions of another phase setting or an LED.
std::vector<power::SettingValue> boundaryValues(const SimulatedRig& rig, Setting setting) {
    const auto& state = rig.core->state();
    const auto slot = static_cast<std::size_t>(setting);
    if (slot < power::kModeSettingCount && state.options.lists[slot].exists()) {
        const auto& list = state.options.lists[slot];
        return {0, list.defaultIndex, static_cast<power::SettingValue>(list.texts.size()) - 1};
    }
    if (setting == Setting::CpuPhase) {
        // Every CPU level: a fixed level must not read back as another.
        std::vector<power::SettingValue> levels;
        for (int level = 0; level < std::max(2, state.routines.levelCount(setting)); ++level)
            levels.push_back(level);
        return levels;
    }
    if (setting == Setting::CpuVttdPhase || setting == Setting::DdrPhase || setting == Setting::MchPhase)
        return {0, std::max(1, state.routines.levelCount(setting) - 1)};
    return {0, 1};
}

// Which boards read each setting back as written: the code-list, nibble, phase and LED read-back
// rules and the CPU phase read of the boards. Left out: DDR_VOLTAGE on 2915 (no read-back), ALL_LED
// and the 2912 CPU phase LED (none), the toggled CPU phase LED of 2911 and 2907, and the CPU phase
// of 2903, 2902, 2905 (any level turns automatic switching off and reads as 0) and 2906 (its
// fixed bit reads as four phases).
struct ReadBackRow {
    Setting setting;
    std::vector<int> boards;
};
const std::vector<ReadBackRow> kReadsBackAsWritten{
    {Setting::CpuVoltage, {2918, 2917, 2916, 2915, 2910, 2911, 2902, 2905}},
    {Setting::VttFsbVoltage, {2917, 2916, 2915, 2910, 2902, 2905}},
    {Setting::CpuPllVoltage, {2917, 2916, 2915, 2910}},
    {Setting::CpuVttdPhase, {2917, 2915}},
    {Setting::CpuPhase, {2917, 2916, 2915, 2910, 2912, 2911, 2907, 2904, 2901}},
    {Setting::DdrVoltage, {2918, 2917, 2916, 2910, 2911, 2902, 2905}},
    {Setting::DdrVrefCaA, {2917, 2916, 2915, 2910, 2902, 2905}},
    {Setting::DdrVrefCaB, {2917, 2916, 2915, 2910}},
    {Setting::DdrVrefCaC, {2917, 2916, 2915, 2910}},
    {Setting::DdrVrefDaA, {2917, 2916, 2915, 2910}},
    {Setting::DdrVrefDaB, {2917, 2916, 2915, 2910}},
    {Setting::DdrVrefDaC, {2917, 2916, 2915, 2910}},
    {Setting::DdrPhase, {2918, 2917, 2916, 2915, 2911}},
    {Setting::MchVoltage, {2917, 2916, 2915, 2910, 2911, 2902, 2905}},
    {Setting::MchPhase, {2918, 2917, 2916, 2915, 2911}},
    {Setting::IchVoltage, {2917, 2916, 2915, 2910, 2911, 2902, 2905}},
    {Setting::CpuPhaseLed, {2917, 2916, 2915, 2910, 2906, 2903, 2902, 2905, 2904}},
    {Setting::PowerResetLed, {2917, 2916, 2915, 2911, 2910}},
    {Setting::CpuVttdPhaseLed, {2917, 2915}},
    {Setting::DdrPhaseLed, {2917, 2916, 2915, 2911}},
    {Setting::MchPhaseLed, {2917, 2916, 2915, 2911}},
    {Setting::S0S3Led, {2917, 2916, 2915}},
    {Setting::PciSlotLed, {2917, 2916, 2915}},
    {Setting::PcieSlotLed, {2917, 2916}},
    {Setting::CpuLoadLineLed, {2915}},
    {Setting::HdLed, {2915}},
};

bool readsBackAsWritten(int board, Setting setting) {
    for (const auto& row : kReadsBackAsWritten)
        if (row.setting == setting)
            return std::find(row.boards.begin(), row.boards.end(), board) != row.boards.end();
    return false;
}

class BoardRoutinesOnSimulatedBoards : public ::testing::TestWithParam<int> {};

TEST_P(BoardRoutinesOnSimulatedBoards, WritesStickAndReadBackAndRowlessSettingsWriteNothing) {
    const int board = GetParam();
    SimulatedRig rig(board);
    ASSERT_EQ(rig.core->state().platform.BoardCode, board) << "the board identifies itself";
    ASSERT_TRUE(rig.core->state().platform.BoardSupported);
    for (int index = 0; index < static_cast<int>(power::kSettingSlots); ++index) {
        const auto setting = static_cast<Setting>(index);
        if (setting == Setting::SmartFan)
            continue; // the fan follows the smart-fan step, not a register
        const bool writes = hw::hasWriteRow(board, setting);
        for (const auto value : boundaryValues(rig, setting)) {
            const auto written = rig.apply(setting, value);
            if (!writes) {
                EXPECT_TRUE(written.empty()) << board << " setting " << index << " value " << value << ": "
                                             << (written.empty() ? "" : sim::describe(written.front()));
                continue;
            }
            ASSERT_FALSE(written.empty()) << board << " setting " << index << " value " << value;
            for (const auto& transaction : written)
                EXPECT_EQ(transaction.outcome, sim::Outcome::Done)
                    << board << " setting " << index << ": " << sim::describe(transaction);
            if (readsBackAsWritten(board, setting)) {
                EXPECT_EQ(rig.current(setting), value) << board << " setting " << index;
                // The value comes from the hardware, not from what was written into the slot.
                rig.forget(setting, value);
                EXPECT_EQ(rig.current(setting), value) << board << " setting " << index << " read again";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, BoardRoutinesOnSimulatedBoards,
                         ::testing::Values(2901, 2902, 2903, 2904, 2905, 2906, 2907, 2908, 2909, 2910, 2911,
                                           2912, 2915, 2916, 2917, 2918),
                         [](const auto& test) { return "KX" + std::to_string(test.param); });

TEST(BoardRoutinesOnSimulatedBoards, TheCpuPhaseOf2917ReadsBackAtEveryLevel) {
    SimulatedRig rig(2917);
    const int levels = rig.core->state().routines.levelCount(Setting::CpuPhase);
    EXPECT_EQ(levels, 6);
    for (int level = 0; level < levels; ++level) {
        rig.apply(Setting::CpuPhase, level);
        EXPECT_EQ(rig.current(Setting::CpuPhase), level);
    }
}

TEST(BoardRoutinesOnSimulatedBoards, MaxModeVoltagesReachTheRegulators) {
    SimulatedRig rig(2917);
    auto& modes = rig.core->state().modes;
    power::ApplyTargets(modes, rig.core->commands(), modes.MaxTargets);
    // CPU option 15 is code list B's 0xC1, one step below the neutral 0xC0's option.
    EXPECT_EQ(rig.hardware->hoblin().Smbus_JRW(0x61, 0x01, 0), 0xC1);
    power::ReadSetting(modes, rig.core->commands(), power::kReadAllSettings);
    for (std::size_t slot = 0; slot < power::kModeSettingCount; ++slot) {
        if (modes.MaxTargets[slot] >= 0 && hw::hasReadBack(2917, static_cast<Setting>(slot))) {
            EXPECT_EQ(modes.CurrentValues[slot], modes.MaxTargets[slot]) << slot;
        }
    }
}

TEST(BoardRoutinesOnSimulatedBoards, SettingsWithoutAReadBackStartAtTheBoardsDefault) {
    const auto text = [](const SimulatedRig& rig, Setting setting) {
        const auto slot = static_cast<std::size_t>(setting);
        return std::string(rig.core->state().options.lists[slot].text(rig.current(setting)));
    };
    SimulatedRig rig2915(2915);
    EXPECT_EQ(text(rig2915, Setting::DdrVoltage), "1.500 V");
    SimulatedRig rig2918(2918);
    EXPECT_EQ(text(rig2918, Setting::MchVoltage), "1.100 V");
    EXPECT_EQ(text(rig2918, Setting::IchVoltage), "1.500 V");

    // 2910's memory and chipset phases start fixed (1) and Optimize makes them automatic.
    SimulatedRig rig2910(2910);
    EXPECT_EQ(rig2910.current(Setting::DdrPhase), 1);
    EXPECT_EQ(rig2910.current(Setting::MchPhase), 1);
    auto& modes = rig2910.core->state().modes;
    power::ApplyTargets(modes, rig2910.core->commands(), modes.OptimizeTargets);
    const auto switches = rig2910.hardware->hoblin().Smbus_JRW(0x33, 0x01, 0);
    EXPECT_EQ(switches & 0x60, 0x60) << "memory and IOH phases automatic";
}

} // namespace
} // namespace solvane::app
