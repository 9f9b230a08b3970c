// The board's physics fed from its registers and the libraries' controls, and the sensors that read
// it back: the hardware monitor, the live registers and their noise.
#include "sim/PowerPlans.h"
#include "sim/SimulatedBoard.h"
#include "sim/boards/CommonBoardData.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace solvane::sim {

namespace {

// The phase-enable lines a three-phase regulator reports: one line per running phase.
std::uint8_t phaseLines(int phases) {
    constexpr std::uint8_t kLines[] = {0x01, 0x01, 0x05, 0x07};
    return kLines[std::clamp(phases, 0, 3)];
}

} // namespace

bool SimulatedBoard::holds(const BitCondition& condition) const {
    const auto value = peek(condition.ref);
    const bool set = ((value >> condition.bit) & 1U) != 0;
    return set == condition.set;
}

std::span<const PhaseControl> SimulatedBoard::phaseControls() const {
    if (m_revision && !m_revision->phases.empty())
        return m_revision->phases;
    return m_model.phaseControls;
}

int SimulatedBoard::forcedPhases(const PhaseControl& control) const {
    for (std::size_t i = 0; i < control.drivenCount && i < control.driven.size(); ++i)
        if (!holds(control.driven[i]))
            return 0;
    if (!holds(control.forced))
        return 0;
    const int available = m_model.phases[static_cast<std::size_t>(control.regulator)];
    const auto bits = static_cast<unsigned>(peek(control.shedRegister)) & control.shedMask;
    switch (control.decode) {
    case PhaseDecode::AllPhases:
        return available;
    case PhaseDecode::ShedMask:
        return std::max(1, available - std::popcount(bits));
    case PhaseDecode::ShedCode:
        return std::max(1, available - (bits == 5 ? 2 : bits == 4 ? 1 : 0));
    }
    return available;
}

double SimulatedBoard::cpuLoad() const {
    return std::clamp(m_cpuLoad->load(now()), 0.0, 1.0);
}

PhysicsInputs SimulatedBoard::gatherInputs() {
    PhysicsInputs inputs;
    inputs.load = cpuLoad();
    for (const auto& control : m_model.voltages) {
        const auto code = static_cast<std::uint8_t>(peek(control.ref));
        const auto index = static_cast<std::size_t>(control.regulator);
        if (control.regulator == Regulator::CpuCore)
            inputs.coreOffsetMillivolts = decodeVoltage(control, code, 0.0);
        else
            inputs.millivolts[index] = decodeVoltage(control, code, m_model.nominalMillivolts[index]);
    }
    for (const auto& control : phaseControls())
        inputs.forcedPhases[static_cast<std::size_t>(control.regulator)] = forcedPhases(control);
    const auto* plan = findPowerPlan(m_powerMode);
    const auto* throttle = findThrottleState(m_throttling);
    inputs.frequencyScaling = plan ? plan->frequencyScaling : true;
    inputs.clockCap = std::min(plan ? plan->clockCap : 1.0, throttle ? throttle->clockCap : 1.0);
    const auto cmosByte = [&](std::uint8_t index) {
        return m_registers.value({RegisterBus::Cmos, 0, index});
    };
    const auto unlock = cmosByte(kFanUnlockByte);
    if ((unlock & kFanUnlockA) != 0 &&
        (cmosByte(kFanModeByte) & (kFanManualMode | kFanCurveMode)) == kFanManualMode)
        inputs.fanDutyA = cmosByte(kFanDutyA) / 255.0;
    if ((unlock & kFanUnlockOthers) != 0)
        inputs.fanDutyOthers =
            (cmosByte(kFanDutyB) + cmosByte(kFanDutyC) + cmosByte(kFanDutyD)) / (3 * 255.0);
    inputs.sataPortsPowered = m_sataEnabled ? m_model.sataPorts : m_model.sataPortsUsed;
    inputs.memoryModules = static_cast<int>(m_modules.size());
    for (const auto& module : m_modules)
        inputs.memoryRanks += module.ranks;
    return inputs;
}

const PhysicsState& SimulatedBoard::physics() {
    return m_physics.update(gatherInputs(), now());
}

double SimulatedBoard::quantity(Reading reading, const PhysicsState& state) const {
    const auto& regulators = state.regulators;
    const auto& core = regulators[static_cast<std::size_t>(Regulator::CpuCore)];
    switch (reading) {
    case Reading::CoreVoltage:
        return state.coreMillivolts * (m_revision ? m_revision->coreSensorGain : 1.0);
    case Reading::VttVoltage:
        return regulators[static_cast<std::size_t>(Regulator::CpuVtt)].millivolts;
    case Reading::MemoryVoltage:
        return regulators[static_cast<std::size_t>(Regulator::Memory)].millivolts;
    case Reading::Rail33:
        return state.rail33Millivolts;
    case Reading::Rail5:
        return state.rail5Millivolts;
    case Reading::Rail12:
        return state.rail12Millivolts;
    case Reading::BoardTemperature:
        return state.boardCelsius;
    case Reading::CpuFanRpm:
        return state.fanRpm;
    case Reading::CpuCurrent:
        return state.cpuAmps;
    case Reading::CpuInputCurrent:
        return core.inputWatts / (state.rail12Millivolts / 1000.0);
    case Reading::CpuInputPower:
        return core.inputWatts;
    case Reading::CpuPower:
        return state.cpuWatts;
    case Reading::Rail33Current:
        return state.rail33Amps;
    case Reading::Rail5Current:
        return state.rail5Amps;
    case Reading::Rail12Current:
        return state.rail12Amps;
    }
    return 0.0;
}

// One count of noise on the analogue readings; temperatures and the fan tachometer count exactly.
std::int64_t SimulatedBoard::noise(Reading reading) {
    if (!m_options.sensorNoise || reading == Reading::BoardTemperature || reading == Reading::CpuFanRpm)
        return 0;
    return m_random.next() % 3 - 1;
}

std::uint8_t SimulatedBoard::liveValue(const RegisterSpec& layout) {
    const auto& state = physics();
    const auto toByte = [](std::int64_t raw) {
        return static_cast<std::uint8_t>(std::clamp<std::int64_t>(raw, 0, 255));
    };
    switch (layout.live) {
    case LiveValue::RailCurrent33:
        return toByte(encodeReading(kPowerMonitorSense[0], state.rail33Amps, 1) +
                      noise(Reading::Rail33Current));
    case LiveValue::RailCurrent12:
        return toByte(encodeReading(kPowerMonitorSense[1],
                                    state.board12Watts() / (state.rail12Millivolts / 1000.0), 1) +
                      noise(Reading::Rail12Current));
    case LiveValue::RailCurrent5:
        return toByte(encodeReading(kPowerMonitorSense[2], state.rail5Amps, 1) +
                      noise(Reading::Rail5Current));
    case LiveValue::RailVoltage12:
        return toByte(encodeReading(kRailMonitorScale[0], state.rail12Millivolts, 1));
    case LiveValue::RailVoltage5:
        return toByte(encodeReading(kRailMonitorScale[1], state.rail5Millivolts, 1));
    case LiveValue::CpuPhaseLines:
        return static_cast<std::uint8_t>(
            (layout.powerOn & ~0x07U) |
            phaseLines(state.regulators[static_cast<std::size_t>(Regulator::CpuCore)].activePhases));
    case LiveValue::CpuActivePhases:
        return static_cast<std::uint8_t>(
            state.regulators[static_cast<std::size_t>(Regulator::CpuCore)].activePhases);
    case LiveValue::None:
        break;
    }
    return layout.powerOn;
}

int SimulatedBoard::detectSuperIo(int) {
    if (!isLoaded(Library::Ostrel))
        return 0;
    // The library finds a chip it knows by the Fintek vendor id.
    const bool fintek =
        m_registers.value(superIoRef(4, 0x23)) == 0x19 && m_registers.value(superIoRef(4, 0x24)) == 0x34;
    return fintek ? 1 : 0;
}

int SimulatedBoard::readTemperatures(hw::nimbrel::TemperatureBuffer& buffer, int kind) {
    buffer.fill(0);
    // Asked for another kind of Super I/O, the library reads a chip that is not there.
    if (!isLoaded(Library::Ostrel) || kind != m_model.sensorKind)
        return 0;
    const auto& state = physics();
    const auto toByte = [](double celsius) {
        return static_cast<std::uint8_t>(
            static_cast<std::int8_t>(std::clamp(std::lround(celsius), -128L, 127L)));
    };
    buffer[0] = toByte(state.cpuCelsius);
    buffer[1] = toByte(state.boardCelsius);
    buffer[2] = toByte(state.ambientCelsius + 2.0);
    return 1;
}

int SimulatedBoard::readVoltages(hw::nimbrel::SensorArray& values) {
    values.fill(0);
    if (!isLoaded(Library::Ostrel))
        return 0;
    const auto& state = physics();
    const int phases = state.regulators[static_cast<std::size_t>(Regulator::CpuCore)].activePhases;
    const auto fill = [&](SensorLayout layout) {
        for (const auto& slot : layout) {
            if (slot.slot >= values.size())
                continue;
            const auto raw = encodeReading(slot, quantity(slot.reading, state), phases) + noise(slot.reading);
            values[slot.slot] =
                static_cast<std::int32_t>(std::clamp<std::int64_t>(raw, INT32_MIN, INT32_MAX));
        }
    };
    fill(m_model.sensors);
    fill(m_model.boardSensors);
    return 1;
}

} // namespace solvane::sim
