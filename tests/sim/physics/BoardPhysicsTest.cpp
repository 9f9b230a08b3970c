#include "sim/physics/BoardPhysics.h"

#include "sim/SimTestSupport.h"

#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr auto kCore = static_cast<std::size_t>(Regulator::CpuCore);

PhysicsInputs inputsFor(const BoardModel& board, double load) {
    PhysicsInputs inputs;
    inputs.load = load;
    inputs.sataPortsPowered = board.sataPorts;
    inputs.memoryModules = static_cast<int>(board.memory.size());
    for (const auto& module : board.memory)
        inputs.memoryRanks += module.ranks;
    return inputs;
}

PhysicsState steadyState(const BoardModel& board, const PhysicsInputs& inputs) {
    BoardPhysics physics(board, *board.processor, board.graphics->watts);
    return physics.update(inputs, milliseconds(0));
}

class BoardPhysicsRanges : public ::testing::TestWithParam<int> {};

// Every working point the registers can set stays within what real hardware shows: core voltage,
// CPU power, regulator efficiency, rail voltages, temperatures.
TEST_P(BoardPhysicsRanges, StayPlausibleAcrossLoadsVoltagesAndPhases) {
    const auto& board = *findBoardModel(GetParam());
    for (const double load : {0.0, 0.25, 0.5, 0.75, 1.0})
        for (const double offset : {-320.0, 0.0, 200.0, 630.0})
            for (int phases = 0; phases <= board.phases[kCore]; ++phases)
                for (const bool scaling : {true, false}) {
                    auto inputs = inputsFor(board, load);
                    inputs.coreOffsetMillivolts = offset;
                    inputs.forcedPhases[kCore] = phases;
                    inputs.frequencyScaling = scaling;
                    const auto state = steadyState(board, inputs);
                    const auto where = ::testing::Message()
                                       << "load " << load << ", offset " << offset << " mV, phases " << phases
                                       << ", scaling " << scaling;
                    EXPECT_GE(state.coreMillivolts, 750.0) << where;
                    EXPECT_LE(state.coreMillivolts, 1600.0) << where;
                    EXPECT_GE(state.cpuWatts, 5.0) << where;
                    EXPECT_LE(state.cpuWatts, 150.0) << where;
                    // The maker's regulators, calibrated to their efficiency tables, lose about a third
                    // with every phase running near idle and reach the mid-nineties with phases shed.
                    const double efficiency = state.regulators[kCore].efficiency();
                    EXPECT_GE(efficiency, 0.65) << where;
                    EXPECT_LE(efficiency, 0.97) << where;
                    EXPECT_NEAR(state.rail33Millivolts, 3300.0, 100.0) << where;
                    EXPECT_NEAR(state.rail5Millivolts, 5000.0, 150.0) << where;
                    EXPECT_NEAR(state.rail12Millivolts, 12000.0, 400.0) << where;
                    EXPECT_GT(state.cpuCelsius, state.ambientCelsius) << where;
                    EXPECT_LT(state.cpuCelsius, 95.0) << where;
                    EXPECT_LT(state.boardCelsius, 90.0) << where;
                    EXPECT_GT(state.fanRpm, 300.0) << where;
                    if (phases > 0) {
                        EXPECT_EQ(state.regulators[kCore].activePhases, phases) << where;
                    }
                }
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, BoardPhysicsRanges, ::testing::ValuesIn(test::allBoardCodes()),
                         test::boardName);

TEST(BoardPhysics, LoadAndVoltageDriveCpuPowerAndCurrent) {
    const auto& board = *findBoardModel(2917);
    const auto idle = steadyState(board, inputsFor(board, 0.0));
    const auto busy = steadyState(board, inputsFor(board, 1.0));
    EXPECT_GT(busy.cpuWatts, 4 * idle.cpuWatts);
    EXPECT_GT(busy.cpuAmps, idle.cpuAmps);
    EXPECT_NEAR(busy.cpuAmps * busy.coreMillivolts / 1000.0, busy.cpuWatts, 0.01);

    auto lower = inputsFor(board, 1.0);
    lower.coreOffsetMillivolts = -100;
    const auto undervolted = steadyState(board, lower);
    EXPECT_NEAR(undervolted.coreMillivolts, busy.coreMillivolts - 100, 10);
    EXPECT_LT(undervolted.cpuWatts, busy.cpuWatts * 0.9);
}

// Switching losses grow with the phase count, conduction losses shrink with it: few phases win at
// light load, many at heavy load. The regulator left to itself picks few phases when idle.
TEST(BoardPhysics, PhaseCountTradesSwitchingAgainstConductionLosses) {
    const auto& board = *findBoardModel(2917);
    const auto efficiencyAt = [&](double load, int phases) {
        auto inputs = inputsFor(board, load);
        inputs.forcedPhases[kCore] = phases;
        return steadyState(board, inputs).regulators[kCore].efficiency();
    };
    EXPECT_GT(efficiencyAt(0.0, 2), efficiencyAt(0.0, 6) + 0.03);
    EXPECT_GT(efficiencyAt(1.0, 6), efficiencyAt(1.0, 2));

    const auto automatic = steadyState(board, inputsFor(board, 0.0)).regulators[kCore];
    EXPECT_EQ(automatic.activePhases, 1);
    EXPECT_GE(steadyState(board, inputsFor(board, 1.0)).regulators[kCore].activePhases, 4);
}

TEST(BoardPhysics, PowerPlanAndThrottlingSetTheClock) {
    const auto& board = *findBoardModel(2911);
    auto scaled = inputsFor(board, 0.0);
    auto fixed = scaled;
    fixed.frequencyScaling = false;
    EXPECT_GT(steadyState(board, fixed).cpuWatts, steadyState(board, scaled).cpuWatts * 1.5);

    auto free = inputsFor(board, 1.0);
    auto throttled = free;
    throttled.clockCap = 0.6;
    const auto slow = steadyState(board, throttled);
    EXPECT_NEAR(slow.clock, 0.6, 1e-9);
    EXPECT_LT(slow.cpuWatts, steadyState(board, free).cpuWatts * 0.8);
}

TEST(BoardPhysics, TemperaturesFollowPowerWithALag) {
    const auto& board = *findBoardModel(2915);
    BoardPhysics physics(board, *board.processor, board.graphics->watts);
    const auto idle = physics.update(inputsFor(board, 0.0), milliseconds(0));
    const double start = idle.cpuCelsius;
    const double target = steadyState(board, inputsFor(board, 1.0)).cpuCelsius;
    ASSERT_GT(target, start + 10);

    const auto afterTwoSeconds = physics.update(inputsFor(board, 1.0), seconds(2)).cpuCelsius;
    EXPECT_GT(afterTwoSeconds, start);
    EXPECT_LT(afterTwoSeconds, start + 0.3 * (target - start));
    double last = afterTwoSeconds;
    for (int second = 3; second <= 300; ++second) {
        const double now = physics.update(inputsFor(board, 1.0), seconds(second)).cpuCelsius;
        EXPECT_GE(now, last - 1e-9);
        last = now;
    }
    EXPECT_NEAR(last, target, 1.0);
    // A clock that stands still moves nothing.
    EXPECT_DOUBLE_EQ(physics.update(inputsFor(board, 0.0), seconds(300)).cpuCelsius, last);
}

TEST(BoardPhysics, FanSpeedFollowsItsDutyAndCoolsTheCpu) {
    const auto& board = *findBoardModel(2917);
    BoardPhysics physics(board, *board.processor, board.graphics->watts);
    auto inputs = inputsFor(board, 1.0);
    inputs.fanDutyA = 1.0;
    const auto fast = physics.update(inputs, milliseconds(0));
    EXPECT_NEAR(fast.fanRpm, 2400.0, 1.0);

    inputs.fanDutyA = 0x40 / 255.0;
    const double halfway = physics.update(inputs, seconds(1)).fanRpm;
    const double slowTarget = 2400.0 * (0.15 + 0.85 * 0x40 / 255.0);
    EXPECT_LT(halfway, 2400.0);
    EXPECT_GT(halfway, slowTarget);
    const auto settled = physics.update(inputs, seconds(400));
    EXPECT_NEAR(settled.fanRpm, slowTarget, 1.0);
    EXPECT_GT(settled.cpuCelsius, fast.cpuCelsius + 5);

    // Below its starting duty the fan stops.
    inputs.fanDutyA = 0.0;
    EXPECT_LT(physics.update(inputs, seconds(460)).fanRpm, 1.0);
}

TEST(BoardPhysics, LowerChipsetAndMemoryVoltagesLowerTheirRails) {
    const auto& board = *findBoardModel(2917);
    auto nominal = inputsFor(board, 0.5);
    auto lowered = nominal;
    lowered.millivolts[static_cast<std::size_t>(Regulator::Memory)] = 1400;
    lowered.millivolts[static_cast<std::size_t>(Regulator::Southbridge)] = 1350;
    const auto before = steadyState(board, nominal);
    const auto after = steadyState(board, lowered);
    EXPECT_LT(after.rail5Amps, before.rail5Amps);
    EXPECT_LT(after.rail33Amps, before.rail33Amps);
    EXPECT_LT(after.totalWatts(), before.totalWatts());

    auto fewerPorts = nominal;
    fewerPorts.sataPortsPowered = 2;
    EXPECT_LT(steadyState(board, fewerPorts).rail33Amps, before.rail33Amps);
}

} // namespace
} // namespace solvane::sim
