#include "sim/physics/BoardPhysics.h"

#include <algorithm>
#include <cmath>

namespace solvane::sim {

namespace {

constexpr double kAmbientCelsius = 30.0;  // inside the case
constexpr double kCpuLagSeconds = 20.0;   // heatsink
constexpr double kBoardLagSeconds = 90.0; // chipset heatsinks and board copper
constexpr double kFanLagSeconds = 2.0;    // rotor
constexpr double kFanMaxRpm = 2400.0;

// What the CPU draws from its core supply whatever its clock: PLLs and I/O buffers.
constexpr double kCpuFixedWatts = 3.0;
constexpr double kPhaseLimitAmps = 35.0;     // over-current protection per phase
constexpr double kLoadLineOhms = 0.0008;     // core voltage droop per ampere
constexpr double kMinCoreMillivolts = 800.0; // the core regulator's output range
constexpr double kMaxCoreMillivolts = 1600.0;
constexpr double kThrottleCelsius = 95.0; // the CPU's thermal throttling starts here

int choosePhases(double amps, int forced, int available, const RegulatorLosses& losses, int fewest = 1) {
    if (forced > 0)
        return std::clamp(forced, 1, available);
    return std::clamp(static_cast<int>(std::ceil(amps / losses.ampsPerPhase)), std::min(fewest, available),
                      available);
}

// The firmware's own fan curve: half duty up to 40 degrees, then steeper.
double firmwareFanDuty(double celsius) {
    return std::clamp((0x60 + (celsius - 40.0) * 6.0) / 255.0, 0.376, 1.0);
}

double approach(double value, double target, double seconds, double lag) {
    return target + (value - target) * std::exp(-seconds / lag);
}

} // namespace

BoardPhysics::BoardPhysics(const BoardModel& board, const ProcessorModel& processor, double graphicsWatts)
    : m_board(board), m_processor(processor), m_graphicsWatts(graphicsWatts) {
    m_state.cpuOnOwnSupply = board.cpuOnOwnSupply;
    m_state.ambientCelsius = kAmbientCelsius;
    m_state.cpuCelsius = kAmbientCelsius + 10.0;
    m_state.boardCelsius = kAmbientCelsius + 10.0;
}

void BoardPhysics::computeCpu(const PhysicsInputs& inputs) {
    const auto& cpu = m_processor;
    const double lowest = std::clamp(cpu.lowestClock, 0.1, 1.0);
    // The operating system raises the clock a little ahead of the load.
    double clock =
        inputs.frequencyScaling ? lowest + (1.0 - lowest) * std::min(1.0, inputs.load * 1.25) : 1.0;
    clock = std::min(clock, std::max(inputs.clockCap, lowest));
    if (m_state.cpuCelsius > kThrottleCelsius)
        clock *= std::clamp((100.0 - m_state.cpuCelsius) / 5.0, 0.3, 1.0);

    // The CPU asks for a voltage by its clock; the register's offset and the regulator's range apply.
    const double span = lowest < 1.0 ? std::clamp((clock - lowest) / (1.0 - lowest), 0.0, 1.0) : 1.0;
    const double vid = cpu.idleVidMillivolts + (cpu.loadVidMillivolts - cpu.idleVidMillivolts) * span;
    const double setpoint =
        std::clamp(vid + inputs.coreOffsetMillivolts, kMinCoreMillivolts, kMaxCoreMillivolts);
    const double voltageScale = std::pow(setpoint / cpu.loadVidMillivolts, 2.0);
    const double activity = 0.12 + 0.88 * inputs.load;
    double dynamic = cpu.dynamicWatts * voltageScale * clock * activity;
    const double leakage = cpu.leakageWatts * voltageScale * (1.0 + 0.012 * (m_state.cpuCelsius - 50.0)) +
                           kCpuFixedWatts * setpoint / cpu.loadVidMillivolts;
    // The CPU's own power limit holds the clock back.
    if (dynamic + leakage > cpu.powerLimitWatts) {
        const double allowed = std::max(0.0, cpu.powerLimitWatts - leakage);
        clock *= dynamic > 0 ? allowed / dynamic : 1.0;
        dynamic = allowed;
    }
    double watts = dynamic + leakage;
    double millivolts = setpoint;
    double amps = watts / (millivolts / 1000.0);
    for (int i = 0; i < 3; ++i) {
        millivolts = setpoint - kLoadLineOhms * 1000.0 * amps;
        amps = watts / (millivolts / 1000.0);
    }

    auto& core = m_state.regulators[static_cast<std::size_t>(Regulator::CpuCore)];
    core.activePhases = choosePhases(amps, inputs.forcedPhases[0], m_board.phases[0], m_board.coreLosses,
                                     m_board.fewestCorePhases);
    // Beyond what its phases can deliver the regulator limits the current and the CPU slows down.
    const double limit = kPhaseLimitAmps * core.activePhases;
    if (amps > limit) {
        clock *= limit / amps;
        amps = limit;
        millivolts = setpoint - kLoadLineOhms * 1000.0 * amps;
        watts = amps * millivolts / 1000.0;
    }
    core.millivolts = millivolts;
    core.amps = amps;
    core.outputWatts = watts;
    core.inputWatts = watts + m_board.coreLosses.lossWatts(amps, watts, core.activePhases);
    m_state.clock = clock;
    m_state.coreMillivolts = millivolts;
    m_state.cpuWatts = watts;
    m_state.cpuAmps = amps;
}

void BoardPhysics::computeElectrical(const PhysicsInputs& inputs) {
    computeCpu(inputs);
    const double load = inputs.load;
    for (std::size_t index = 1; index < kRegulatorCount; ++index) {
        auto& regulator = m_state.regulators[index];
        const double nominal = m_board.nominalMillivolts[index];
        const double millivolts = inputs.millivolts[index] > 0 ? inputs.millivolts[index] : nominal;
        const double scale = nominal > 0 ? std::pow(millivolts / nominal, 2.0) : 1.0;
        const double base = m_board.loadWatts[index];
        double watts = 0.0;
        switch (static_cast<Regulator>(index)) {
        case Regulator::CpuVtt:
            watts = base * scale * (0.6 + 0.4 * load);
            break;
        case Regulator::Memory:
            watts = (0.5 * inputs.memoryModules + base * inputs.memoryRanks * (0.3 + 0.7 * load)) * scale;
            break;
        case Regulator::Northbridge:
            watts = base * scale * (0.7 + 0.3 * load);
            break;
        case Regulator::Southbridge:
            watts = base * scale + 0.4 * inputs.sataPortsPowered;
            break;
        case Regulator::CpuCore:
            break;
        }
        regulator.millivolts = millivolts;
        if (watts <= 0.0 || millivolts <= 0.0) {
            regulator = RegulatorState{1, millivolts, 0.0, 0.0, 0.0};
            continue;
        }
        regulator.amps = watts / (millivolts / 1000.0);
        regulator.activePhases =
            choosePhases(regulator.amps, inputs.forcedPhases[index], m_board.phases[index], kSmallLosses);
        regulator.outputWatts = watts;
        regulator.inputWatts = watts + kSmallLosses.lossWatts(regulator.amps, watts, regulator.activePhases);
    }

    m_state.fanDutyA = inputs.fanDutyA.value_or(firmwareFanDuty(m_state.cpuCelsius));
    const double fanFraction = m_state.fanRpm / kFanMaxRpm;
    const double fanWatts =
        0.3 + 2.7 * std::pow(fanFraction, 3.0) + 3 * (0.15 + 1.6 * std::pow(inputs.fanDutyOthers, 3.0));
    const auto input = [&](Regulator which) {
        return m_state.regulators[static_cast<std::size_t>(which)].inputWatts;
    };
    const double watts12 = input(Regulator::CpuCore) + input(Regulator::CpuVtt) +
                           input(Regulator::Northbridge) + fanWatts + 0.3 * m_graphicsWatts +
                           m_board.otherWatts12;
    const double watts5 = input(Regulator::Memory) + m_board.otherWatts5;
    const double watts33 = input(Regulator::Southbridge) + 0.1 * m_graphicsWatts + m_board.otherWatts33;
    // Each rail sags a little under its load (supply regulation and wiring).
    const auto rail = [](double watts, double noLoadMillivolts, double sagPerAmp, double& millivolts,
                         double& amps) {
        millivolts = noLoadMillivolts;
        for (int i = 0; i < 3; ++i) {
            amps = watts / (millivolts / 1000.0);
            millivolts = noLoadMillivolts - sagPerAmp * amps;
        }
    };
    rail(watts12, 12100.0, 25.0, m_state.rail12Millivolts, m_state.rail12Amps);
    rail(watts5, 5050.0, 12.0, m_state.rail5Millivolts, m_state.rail5Amps);
    rail(watts33, 3340.0, 6.0, m_state.rail33Millivolts, m_state.rail33Amps);
}

double BoardPhysics::cpuTargetCelsius() const {
    const double fanFraction = std::clamp(m_state.fanRpm / kFanMaxRpm, 0.0, 1.0);
    const double resistance = 0.16 + 0.30 * std::pow(1.0 - fanFraction, 1.5); // degrees per watt
    return kAmbientCelsius + m_state.cpuWatts * resistance;
}

double BoardPhysics::boardTargetCelsius(const PhysicsInputs& inputs) const {
    const auto output = [&](Regulator which) {
        return m_state.regulators[static_cast<std::size_t>(which)].outputWatts;
    };
    const double chipset = output(Regulator::Northbridge) + output(Regulator::Southbridge);
    return kAmbientCelsius + 6.0 + 1.2 * chipset * (1.0 - 0.35 * inputs.fanDutyOthers) +
           0.04 * m_state.cpuWatts;
}

double BoardPhysics::fanTargetRpm() const {
    return m_state.fanDutyA < 0.08 ? 0.0 : kFanMaxRpm * (0.15 + 0.85 * m_state.fanDutyA);
}

const PhysicsState& BoardPhysics::update(const PhysicsInputs& inputs, std::chrono::milliseconds now) {
    if (!m_time) {
        // Start from the steady state: a few rounds let leakage, temperature and fan settle together.
        for (int round = 0; round < 8; ++round) {
            computeElectrical(inputs);
            m_state.fanRpm = fanTargetRpm();
            m_state.cpuCelsius = cpuTargetCelsius();
            m_state.boardCelsius = boardTargetCelsius(inputs);
        }
        m_time = now;
        return m_state;
    }
    const double seconds = std::max(0.0, std::chrono::duration<double>(now - *m_time).count());
    m_time = std::max(now, *m_time);
    computeElectrical(inputs);
    m_state.fanRpm = approach(m_state.fanRpm, fanTargetRpm(), seconds, kFanLagSeconds);
    m_state.cpuCelsius = approach(m_state.cpuCelsius, cpuTargetCelsius(), seconds, kCpuLagSeconds);
    m_state.boardCelsius =
        approach(m_state.boardCelsius, boardTargetCelsius(inputs), seconds, kBoardLagSeconds);
    return m_state;
}

} // namespace solvane::sim
