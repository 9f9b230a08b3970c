#include "sim/SimulatedBoard.h"

#include "platform/AtomicFile.h"
#include "sim/PciTopology.h"
#include "sim/boards/CommonBoardData.h"
#include "sim/images/SmbiosTable.h"
#include "sim/physics/HostCpuLoad.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace solvane::sim {

namespace {

constexpr std::uint16_t kSuperIoConfigPort = hw::Ostrel::kSuperIoConfigPort;
constexpr std::uint16_t kCmosIndexPort = hw::Ostrel::kCmosIndexPort;
constexpr std::uint8_t kFirstSpdDevice = 0xA0;

// The power plans the power-saving library switches between, by the mode number it is given: whether
// the operating system lets the clock follow the load, and the highest clock the plan allows.
struct PowerPlan {
    int mode;
    bool frequencyScaling;
    double clockCap;
};
constexpr PowerPlan kPowerPlans[] = {
    {0, false, 1.0}, // always on: the clock stays at its highest
    {3, true, 0.75}, // maximum battery
    {6, true, 1.0},  // balanced
    {7, true, 0.75}, // power saver
    {8, false, 1.0}, // high performance
};
// CPU throttling states: 8 lets the CPU run free, 7 modulates its clock down.
struct ThrottleState {
    int state;
    double clockCap;
};
constexpr ThrottleState kThrottleStates[] = {{7, 0.6}, {8, 1.0}};

const PowerPlan* findPlan(int mode) {
    for (const auto& plan : kPowerPlans)
        if (plan.mode == mode)
            return &plan;
    return nullptr;
}

const ThrottleState* findThrottle(int state) {
    for (const auto& throttle : kThrottleStates)
        if (throttle.state == state)
            return &throttle;
    return nullptr;
}

const BoardModel& requireModel(int code) {
    if (const auto* model = findBoardModel(code))
        return *model;
    throw std::invalid_argument("there is no simulated board KX-" + std::to_string(code) +
                                " (boards 2901 to 2918, or 0 for a board of another maker)");
}

std::vector<MemoryModule> chooseModules(const SimulationOptions& options, const BoardModel& model) {
    std::vector<MemoryModule> modules =
        options.memory ? *options.memory
                       : std::vector<MemoryModule>(model.memory.begin(), model.memory.end());
    for (const auto& module : modules)
        if (const auto problem = checkModule(module); !problem.empty())
            throw std::invalid_argument(problem);
    return modules;
}

std::string productName(const BoardModel& model, std::string_view version,
                        const std::vector<MemoryModule>& modules, ProductNaming naming) {
    if (model.code == 0)
        return std::string(model.modelName);
    const bool hasDdr3 = std::any_of(modules.begin(), modules.end(), [](const MemoryModule& module) {
        return module.type == MemoryType::Ddr3;
    });
    const auto name = firmwareModelName(model, version, hasDdr3);
    const std::string code = "KX-" + std::to_string(model.code);
    if (naming == ProductNaming::CodeOnly || name.empty())
        return code;
    return std::string(name) + " (" + code + ")";
}

// The phase-enable lines a three-phase regulator reports: one line per running phase.
std::uint8_t phaseLines(int phases) {
    constexpr std::uint8_t kLines[] = {0x01, 0x01, 0x05, 0x07};
    return kLines[std::clamp(phases, 0, 3)];
}

} // namespace

SimulatedBoard::SimulatedBoard(const SimulationOptions& options)
    : m_options(options), m_model(requireModel(options.boardCode)),
      m_graphics(options.graphics ? &optionCard(*options.graphics) : m_model.graphics),
      m_baseboardVersion(options.baseboardVersion.empty() ? std::string(m_model.baseboardVersion)
                                                          : options.baseboardVersion),
      m_biosVersion(options.biosVersion.empty() ? std::string(m_model.biosVersion) : options.biosVersion),
      m_modules(chooseModules(options, m_model)), m_registers(m_model.registers, {}),
      m_physics(m_model, *m_model.processor, m_graphics->watts),
      m_cpuLoad(options.cpuLoad ? options.cpuLoad : std::make_shared<HostCpuLoad>()),
      m_started(std::chrono::steady_clock::now()), m_random(options.seed) {
    if (m_model.revision && m_baseboardVersion.find(m_model.revision->marker) != std::string::npos) {
        m_revision = m_model.revision;
        m_registers = BoardRegisters(m_model.registers, m_revision->registers);
    }
    m_baseboardProduct = productName(m_model, m_baseboardVersion, m_modules, options.productNaming);
    for (const auto& module : m_modules)
        m_spd[module.slot] = buildSpdImage(module);
    installPciTopology(m_machine, m_model, *m_graphics);

    SmbiosIdentity identity;
    identity.boardCode = m_model.code;
    identity.maker = m_model.maker;
    identity.systemProduct = m_model.code == 0 ? m_baseboardProduct : "KX-" + std::to_string(m_model.code);
    identity.baseboardProduct = m_baseboardProduct;
    identity.baseboardVersion = m_baseboardVersion;
    char serial[32];
    std::snprintf(serial, sizeof serial, "TK%04d%s0912%05d", m_model.code, m_model.code == 0 ? "X" : "A",
                  m_model.code * 7 % 100000);
    identity.baseboardSerial = serial;
    identity.biosVendor = m_model.biosVendor;
    identity.biosVersion = m_biosVersion;
    identity.biosDate = m_model.biosDate;
    identity.processor = m_model.processor;
    identity.modules = m_modules;
    m_smbios = buildSmbiosTable(identity);

    loadState();
}

std::string SimulatedBoard::description() const {
    return "Simulated " + std::string(m_model.maker) + " " + m_baseboardProduct;
}

std::chrono::milliseconds SimulatedBoard::now() const {
    if (m_options.clock)
        return m_options.clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_started);
}

// --- Buses ---------------------------------------------------------------------------------------

const SpdImage* SimulatedBoard::spdAt(std::uint8_t device) const {
    if (device < kFirstSpdDevice || device >= kFirstSpdDevice + 2 * kMemorySlots)
        return nullptr;
    const auto& image = m_spd[static_cast<std::size_t>(device - kFirstSpdDevice) / 2];
    return image ? &*image : nullptr;
}

Outcome SimulatedBoard::recordWrite(BoardRegisters::WriteResult result, std::uint8_t before,
                                    const RegisterRef& ref) {
    switch (result) {
    case BoardRegisters::WriteResult::NoRegister:
        return Outcome::NoRegister;
    case BoardRegisters::WriteResult::ReadOnly:
        return Outcome::ReadOnly;
    case BoardRegisters::WriteResult::Written:
        break;
    }
    if (m_registers.value(ref) != before)
        keepState();
    return Outcome::Done;
}

std::uint8_t SimulatedBoard::smbus(BusAccess path, std::uint8_t address, std::uint8_t reg,
                                   std::uint8_t data) {
    const bool read = (address & 1U) != 0;
    const auto device = static_cast<std::uint8_t>(address & 0xFEU);
    Transaction transaction{
        path, read ? Direction::Read : Direction::Write, address, reg, read ? 0U : data, Outcome::Done};
    std::uint8_t result = 0xFF;
    const auto library = path == BusAccess::FalwickSmbus ? Library::Falwick : Library::Hoblin;
    if (!isLoaded(library)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (const auto* spd = spdAt(device)) {
        // The modules' EEPROMs are write-protected.
        if (read)
            result = (*spd)[reg];
        else
            transaction.outcome = Outcome::ReadOnly;
    } else if (!m_registers.hasSmbusDevice(device)) {
        transaction.outcome = Outcome::NoDevice;
    } else if (read) {
        const auto* found = m_registers.find(RegisterBus::Smbus, device, reg);
        if (!found)
            transaction.outcome = Outcome::NoRegister;
        else
            result = found->layout.live == LiveValue::None ? found->value : liveValue(found->layout);
    } else {
        const RegisterRef ref = smbusRef(device, reg);
        const auto before = m_registers.value(ref);
        transaction.outcome =
            recordWrite(m_registers.write(RegisterBus::Smbus, device, reg, data), before, ref);
        result = data;
    }
    if (read)
        transaction.value = result;
    m_log.record(transaction);
    return result;
}

std::uint8_t SimulatedBoard::ioPort(std::uint16_t port, std::uint8_t data, bool read) {
    Transaction transaction{
        BusAccess::Port, read ? Direction::Read : Direction::Write, port, 0, read ? 0U : data, Outcome::Done};
    std::uint8_t result = 0xFF;
    if (!isLoaded(Library::Falwick)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (!m_registers.hasPort(port)) {
        transaction.outcome = Outcome::NoDevice;
    } else if (read) {
        result = m_registers.value(portRef(port));
        transaction.value = result;
    } else {
        const auto before = m_registers.value(portRef(port));
        transaction.outcome =
            recordWrite(m_registers.write(RegisterBus::Port, port, 0, data), before, portRef(port));
        result = data;
    }
    m_log.record(transaction);
    return result;
}

std::uint32_t SimulatedBoard::pci(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                  std::uint8_t reg, std::uint32_t data, bool read) {
    // Configuration mechanism #1 addresses whole dwords: the low two bits of the offset are ignored.
    const auto offset = static_cast<std::uint8_t>(reg & 0xFCU);
    const auto unit = static_cast<std::uint16_t>((static_cast<unsigned>(bus) << 8U) |
                                                 ((device & 0x1FU) << 3U) | (function & 7U));
    Transaction transaction{
        BusAccess::Pci, read ? Direction::Read : Direction::Write, unit, offset, read ? 0U : data,
        Outcome::Done};
    std::uint32_t result = hw::Falwick::kNoDevice;
    auto* space = device < 32 && function < 8 ? m_machine.pciFunction(bus, device, function) : nullptr;
    if (!isLoaded(Library::Falwick)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (!space) {
        transaction.outcome = Outcome::NoDevice;
    } else if (read) {
        result = space->read32(offset);
        transaction.value = result;
    } else {
        const auto before = space->read32(offset);
        space->writeMasked32(offset, data);
        if (space->read32(offset) != before)
            keepState();
        result = data;
    }
    m_log.record(transaction);
    return result;
}

std::uint8_t SimulatedBoard::superIo(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                                     std::uint8_t data, bool read) {
    Transaction transaction{BusAccess::SuperIo, read ? Direction::Read : Direction::Write,
                            logicalDevice,      reg,
                            read ? 0U : data,   Outcome::Done};
    std::uint8_t result = 0xFF;
    const auto* found = m_registers.find(RegisterBus::SuperIo, logicalDevice, reg);
    if (!isLoaded(Library::Ostrel)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (configPort != kSuperIoConfigPort) {
        transaction.outcome = Outcome::WrongPort;
    } else if (!found) {
        transaction.outcome = Outcome::NoRegister;
    } else if (read) {
        result = found->layout.live == LiveValue::None ? found->value : liveValue(found->layout);
        transaction.value = result;
    } else {
        const RegisterRef ref = superIoRef(logicalDevice, reg);
        const auto before = m_registers.value(ref);
        transaction.outcome =
            recordWrite(m_registers.write(RegisterBus::SuperIo, logicalDevice, reg, data), before, ref);
        result = data;
    }
    m_log.record(transaction);
    return result;
}

std::uint8_t SimulatedBoard::readCmos(std::uint8_t index, std::uint16_t indexPort) {
    Transaction transaction{BusAccess::Cmos, Direction::Read, indexPort, index, 0, Outcome::Done};
    std::uint8_t result = 0xFF;
    if (!isLoaded(Library::Ostrel))
        transaction.outcome = Outcome::NotLoaded;
    else if (indexPort != kCmosIndexPort)
        transaction.outcome = Outcome::WrongPort;
    else
        result = m_registers.value({RegisterBus::Cmos, 0, index});
    transaction.value = result;
    m_log.record(transaction);
    return result;
}

void SimulatedBoard::writeCmos(std::uint8_t index, std::uint8_t value, std::uint16_t indexPort) {
    Transaction transaction{BusAccess::Cmos, Direction::Write, indexPort, index, value, Outcome::Done};
    const RegisterRef ref{RegisterBus::Cmos, 0, index};
    if (!isLoaded(Library::Ostrel)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (indexPort != kCmosIndexPort) {
        transaction.outcome = Outcome::WrongPort;
    } else {
        const auto before = m_registers.value(ref);
        transaction.outcome = recordWrite(m_registers.write(RegisterBus::Cmos, 0, index, value), before, ref);
    }
    m_log.record(transaction);
}

void SimulatedBoard::fanControl(std::uint8_t reg, std::uint8_t duty) {
    Transaction transaction{BusAccess::FanControl, Direction::Write, 0, reg, duty, Outcome::Done};
    constexpr std::uint8_t kFanRegisters[] = {kFanDutyA, kFanDutyB, kFanDutyC, kFanDutyD};
    const RegisterRef ref{RegisterBus::Cmos, 0, reg};
    if (!isLoaded(Library::Ostrel)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (std::find(std::begin(kFanRegisters), std::end(kFanRegisters), reg) ==
               std::end(kFanRegisters)) {
        transaction.outcome = Outcome::NoRegister;
    } else {
        const auto before = m_registers.value(ref);
        transaction.outcome = recordWrite(m_registers.write(RegisterBus::Cmos, 0, reg, duty), before, ref);
    }
    m_log.record(transaction);
}

bool SimulatedBoard::forceRegister(const RegisterRef& ref, std::uint8_t value) {
    if (ref.bus == RegisterBus::Pci) {
        auto* space = m_machine.pciFunction(ref.unit >> 8U, (ref.unit >> 3U) & 0x1FU, ref.unit & 7U);
        if (!space || ref.reg > 0xFF)
            return false;
        space->bytes[ref.reg] = value;
        return true;
    }
    return m_registers.force(ref.bus, ref.unit, ref.reg, value);
}

std::uint32_t SimulatedBoard::peek(const RegisterRef& ref) const {
    if (ref.bus == RegisterBus::Pci) {
        const auto* space = m_machine.pciFunction(ref.unit >> 8U, (ref.unit >> 3U) & 0x1FU, ref.unit & 7U);
        return space && ref.reg <= 0xFC ? space->read32(ref.reg) : hw::Falwick::kNoDevice;
    }
    return m_registers.value(ref);
}

// --- Physics and sensors -------------------------------------------------------------------------

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

PhysicsInputs SimulatedBoard::gatherInputs() {
    PhysicsInputs inputs;
    inputs.load = std::clamp(m_cpuLoad->load(now()), 0.0, 1.0);
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
    const auto* plan = findPlan(m_powerMode);
    const auto* throttle = findThrottle(m_throttling);
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

// --- Power-saving library ------------------------------------------------------------------------

int SimulatedBoard::setPowerMode(int mode) {
    if (!findPlan(mode))
        return 0;
    m_powerMode = mode;
    return 1;
}

int SimulatedBoard::setThrottling(int state) {
    if (!findThrottle(state))
        return 0;
    m_throttling = state;
    return 1;
}

int SimulatedBoard::enableSata() {
    m_sataEnabled = true;
    return 1;
}

int SimulatedBoard::disableSata() {
    m_sataEnabled = false;
    return 1;
}

// --- Kept state ----------------------------------------------------------------------------------

std::vector<StateEntry> SimulatedBoard::changedRegisters() const {
    std::vector<StateEntry> entries;
    for (const auto& [key, entry] : m_registers.all())
        if (entry.layout.writable != kReadOnly && entry.value != entry.layout.powerOn)
            entries.push_back({entry.layout.bus, entry.layout.unit, entry.layout.reg, entry.value});
    for (const auto& reg : m_model.pciRegisters) {
        const auto ref = pciRef(reg.bus, reg.device, reg.function, reg.reg);
        if (reg.writable != 0 && peek(ref) != reg.powerOn)
            entries.push_back({RegisterBus::Pci, ref.unit, ref.reg, peek(ref)});
    }
    return entries;
}

bool SimulatedBoard::applyState(const std::vector<StateEntry>& entries) {
    // Every entry must name a writable register of this board before any is applied.
    for (const auto& entry : entries) {
        if (entry.bus == RegisterBus::Pci) {
            const bool known =
                std::any_of(m_model.pciRegisters.begin(), m_model.pciRegisters.end(), [&](const auto& reg) {
                    return reg.writable != 0 && pciRef(reg.bus, reg.device, reg.function, reg.reg) ==
                                                    RegisterRef{RegisterBus::Pci, entry.unit, entry.reg};
                });
            if (!known ||
                !m_machine.pciFunction(entry.unit >> 8U, (entry.unit >> 3U) & 0x1FU, entry.unit & 7U))
                return false;
        } else {
            const auto* found = m_registers.find(entry.bus, entry.unit, entry.reg);
            if (!found || found->layout.writable == kReadOnly || entry.value > 0xFF)
                return false;
        }
    }
    for (const auto& entry : entries) {
        if (entry.bus == RegisterBus::Pci)
            m_machine.pciFunction(entry.unit >> 8U, (entry.unit >> 3U) & 0x1FU, entry.unit & 7U)
                ->writeMasked32(entry.reg, entry.value);
        else
            m_registers.write(entry.bus, entry.unit, entry.reg, static_cast<std::uint8_t>(entry.value));
    }
    return true;
}

void SimulatedBoard::loadState() {
    if (m_options.stateFolder.empty())
        return;
    const auto path = boardStatePath(m_options.stateFolder, m_model.code);
    const auto read = platform::readKeptFile(path);
    if (read.status == platform::FileRead::Status::Missing)
        return;
    if (read.status == platform::FileRead::Status::Failed) {
        // Left where it is, and never written over in this run.
        m_stateUnwritable = true;
        m_stateProblem = "The simulated board's state cannot be used (" + read.error +
                         "); the board starts from its power-on state and its changes are not kept.";
        return;
    }
    const auto entries = parseBoardState(read.contents, m_model.code);
    if (entries && applyState(*entries))
        return;
    if (!m_options.keepState) {
        m_stateProblem = "The simulated board's state file " + path.string() +
                         " is damaged; the board starts from its power-on state.";
        return;
    }
    // A damaged file is kept aside for inspection, each under its own name, never silently
    // overwritten; the board starts from its power-on state.
    std::string error;
    const auto aside = platform::moveAside(path, ".damaged", error);
    m_stateUnwritable = !aside;
    m_stateProblem =
        "The simulated board's state file " + path.string() +
        " could not be read; the board starts from its power-on state" +
        (aside ? " and the file was kept as " + aside->string() + "."
               : " and its changes are not kept (the file could not be moved aside: " + error + ").");
}

void SimulatedBoard::keepState() {
    if (m_options.stateFolder.empty() || !m_options.keepState || m_stateUnwritable)
        return;
    std::error_code error;
    std::filesystem::create_directories(m_options.stateFolder, error);
    const auto path = boardStatePath(m_options.stateFolder, m_model.code);
    const auto problem =
        platform::writeFileAtomically(path, formatBoardState(m_model.code, changedRegisters()));
    if (!problem.empty())
        m_stateProblem = "The simulated board's state could not be kept: " + problem;
}

// --- Debugging -----------------------------------------------------------------------------------

std::string SimulatedBoard::registerDump() {
    std::string text =
        description() + ", baseboard version " + m_baseboardVersion + ", BIOS " + m_biosVersion + "\n";
    char line[512];
    for (const auto& [key, entry] : m_registers.all()) {
        const auto& layout = entry.layout;
        // Plain CMOS storage at its power-on value says nothing.
        if (layout.bus == RegisterBus::Cmos && layout.meaning == "CMOS storage" &&
            entry.value == layout.powerOn)
            continue;
        const auto value = layout.live == LiveValue::None ? entry.value : liveValue(layout);
        const std::string meaning(layout.meaning);
        switch (layout.bus) {
        case RegisterBus::Smbus:
            std::snprintf(line, sizeof line, "SMBus 0x%02X/0x%02X reg 0x%02X = 0x%02X  %s\n", layout.unit,
                          layout.unit | 1U, layout.reg, value, meaning.c_str());
            break;
        case RegisterBus::SuperIo:
            if (layout.reg < 0x30)
                std::snprintf(line, sizeof line, "Super I/O chip reg 0x%02X = 0x%02X  %s\n", layout.reg,
                              value, meaning.c_str());
            else
                std::snprintf(line, sizeof line, "Super I/O LDN %u reg 0x%02X = 0x%02X  %s\n", layout.unit,
                              layout.reg, value, meaning.c_str());
            break;
        case RegisterBus::Port:
            std::snprintf(line, sizeof line, "port 0x%03X = 0x%02X  %s\n", layout.unit, value,
                          meaning.c_str());
            break;
        case RegisterBus::Cmos:
        case RegisterBus::Pci:
            std::snprintf(line, sizeof line, "CMOS 0x%02X = 0x%02X  %s\n", layout.reg, value,
                          meaning.c_str());
            break;
        }
        text += line;
    }
    for (const auto& reg : m_model.pciRegisters) {
        std::snprintf(line, sizeof line, "PCI %02X:%02X.%u reg 0x%02X = 0x%08X  %s\n", reg.bus, reg.device,
                      reg.function, reg.reg, peek(pciRef(reg.bus, reg.device, reg.function, reg.reg)),
                      std::string(reg.meaning).c_str());
        text += line;
    }
    const auto& state = physics();
    const auto& core = state.regulators[static_cast<std::size_t>(Regulator::CpuCore)];
    std::snprintf(
        line, sizeof line,
        "physics: clock %.0f %%, core %.3f V, CPU %.1f A %.1f W, %d CPU phases, regulator efficiency "
        "%.1f %%, 3.3 V %.3f V %.2f A, 5 V %.3f V %.2f A, 12 V %.3f V %.2f A, CPU %.1f C, board %.1f C, "
        "fan %.0f rpm, power plan %d, throttling %d, SATA %s\n",
        state.clock * 100, state.coreMillivolts / 1000, state.cpuAmps, state.cpuWatts, core.activePhases,
        core.efficiency() * 100, state.rail33Millivolts / 1000, state.rail33Amps,
        state.rail5Millivolts / 1000, state.rail5Amps, state.rail12Millivolts / 1000, state.rail12Amps,
        state.cpuCelsius, state.boardCelsius, state.fanRpm, m_powerMode, m_throttling,
        m_sataEnabled ? "all ports" : "used ports only");
    text += line;
    return text;
}

} // namespace solvane::sim
