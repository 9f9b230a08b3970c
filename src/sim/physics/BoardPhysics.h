#pragma once

#include "sim/boards/BoardModel.h"

#include <array>
#include <chrono>
#include <optional>

namespace solvane::sim {

// What the board's registers, its fan bytes and the power-saving library set, as the physical model
// needs it.
struct PhysicsInputs {
    double load = 0.0;                 // CPU load, 0 to 1
    double coreOffsetMillivolts = 0.0; // the core voltage register's offset to the CPU's own request
    std::array<double, kRegulatorCount> millivolts{}; // outputs of the other regulators (core unused)
    std::array<int, kRegulatorCount> forcedPhases{};  // phases a regulator is held at; 0: it chooses
    double clockCap = 1.0;          // highest clock the power plan and throttling allow (fraction)
    bool frequencyScaling = true;   // whether the power plan lets the clock follow the load
    std::optional<double> fanDutyA; // CPU fan duty 0 to 1 when it runs at its duty byte, else curve
    double fanDutyOthers = 0.5;     // duty of the system fans, 0 to 1
    int sataPortsPowered = 0;
    int memoryModules = 0;
    int memoryRanks = 0;
};

// One regulator's working point.
struct RegulatorState {
    int activePhases = 1;
    double millivolts = 0.0;  // at its output
    double amps = 0.0;        // delivered
    double outputWatts = 0.0; // delivered
    double inputWatts = 0.0;  // drawn from its rail: output plus losses
    double efficiency() const { return inputWatts > 0 ? outputWatts / inputWatts : 1.0; }
};

struct PhysicsState {
    double clock = 1.0;          // CPU clock as a fraction of its highest
    double coreMillivolts = 0.0; // at the socket, after the regulator's load line
    double cpuWatts = 0.0;
    double cpuAmps = 0.0;
    std::array<RegulatorState, kRegulatorCount> regulators{};
    double rail33Millivolts = 0.0;
    double rail5Millivolts = 0.0;
    double rail12Millivolts = 0.0;
    double rail33Amps = 0.0;
    double rail5Amps = 0.0;
    double rail12Amps = 0.0;
    double cpuCelsius = 0.0;
    double boardCelsius = 0.0;
    double ambientCelsius = 0.0;
    double fanDutyA = 0.0;
    double fanRpm = 0.0;
    double totalWatts() const {
        return (rail33Millivolts * rail33Amps + rail5Millivolts * rail5Amps + rail12Millivolts * rail12Amps) /
               1000.0;
    }
    // What the CPU regulator draws from 12 V through its own supply connector (0 on a board whose CPU
    // regulator hangs on the board's 12 V rail); the board's 12 V rail, and the power monitor on it,
    // carries everything else.
    double cpuSupplyWatts() const { return cpuOnOwnSupply ? regulators[0].inputWatts : 0.0; }
    double board12Watts() const { return rail12Millivolts * rail12Amps / 1000.0 - cpuSupplyWatts(); }
    bool cpuOnOwnSupply = false;
    double rail33Watts() const { return rail33Millivolts * rail33Amps / 1000.0; }
    double rail5Watts() const { return rail5Millivolts * rail5Amps / 1000.0; }
};

// The board's physics: the CPU's power from its load, clock and voltage; each regulator's losses from
// its current, output and active phase count (switching losses grow with the phases, conduction losses
// shrink); the rails that feed them; the CPU and chipset temperatures, which follow the power with a
// thermal lag and the airflow of the fans; and the CPU fan's speed, which follows its duty with the
// rotor's lag. Time comes from the caller, so runs are repeatable.
class BoardPhysics {
public:
    BoardPhysics(const BoardModel& board, const ProcessorModel& processor, double graphicsWatts);

    // Brings the model to `now` under `inputs`. The first call starts at the steady state of its inputs;
    // later calls move temperatures and fan speed toward their targets by the time passed, while the
    // electrical quantities follow the inputs at once.
    const PhysicsState& update(const PhysicsInputs& inputs, std::chrono::milliseconds now);
    const PhysicsState& state() const { return m_state; }

private:
    void computeElectrical(const PhysicsInputs& inputs);
    void computeCpu(const PhysicsInputs& inputs);
    double cpuTargetCelsius() const;
    double boardTargetCelsius(const PhysicsInputs& inputs) const;
    double fanTargetRpm() const;

    const BoardModel& m_board;
    const ProcessorModel& m_processor;
    double m_graphicsWatts;
    PhysicsState m_state;
    std::optional<std::chrono::milliseconds> m_time;
};

} // namespace solvane::sim
