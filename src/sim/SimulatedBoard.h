#pragma once

#include "hw/HardwareLibraries.h"
#include "platform/Random.h"
#include "sim/BoardRegisters.h"
#include "sim/BoardStateFile.h"
#include "sim/SimulatedMachine.h"
#include "sim/SimulationOptions.h"
#include "sim/TransactionLog.h"
#include "sim/boards/BoardModel.h"
#include "sim/images/SpdImage.h"
#include "sim/physics/BoardPhysics.h"

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace solvane::sim {

// One simulated Tarvok board (or a board of another maker): its registers on every bus, its PCI
// functions and video BIOS, its SMBIOS tables and SPD EEPROMs, its physics and sensors, and the state
// the closed libraries keep (which are loaded, the power plan, throttling, SATA). The library classes
// are thin doors onto it. Every bus access is recorded in the transaction log; a write that changes a
// register is kept in the state folder at once, so the board comes back as it was left, like real
// hardware keeps its settings.
class SimulatedBoard {
public:
    enum class Library : std::uint8_t { Hoblin, Falwick, Ostrel };

    // Throws std::invalid_argument for a board code that cannot be simulated or a memory module that
    // cannot be built.
    explicit SimulatedBoard(const SimulationOptions& options);

    // Identity.
    const BoardModel& model() const { return m_model; }
    const GraphicsCard& graphics() const { return *m_graphics; }
    const std::string& baseboardVersion() const { return m_baseboardVersion; }
    const std::string& biosVersion() const { return m_biosVersion; }
    const std::string& baseboardProduct() const { return m_baseboardProduct; }
    const std::vector<MemoryModule>& modules() const { return m_modules; }
    const std::vector<std::uint8_t>& smbiosTable() const { return m_smbios; }
    const SimulationOptions& options() const { return m_options; }
    std::string description() const;

    // Which libraries are loaded; calls into an unloaded one fail as the real ones do.
    bool isLoaded(Library library) const { return m_loaded[static_cast<std::size_t>(library)]; }
    void setLoaded(Library library, bool loaded) { m_loaded[static_cast<std::size_t>(library)] = loaded; }

    // Bus accesses, each recorded. SMBus: an odd address reads the register, an even one writes data;
    // absent devices and registers read 0xFF. PCI: 0xFFFFFFFF for an absent function.
    std::uint8_t smbus(BusAccess path, std::uint8_t address, std::uint8_t reg, std::uint8_t data);
    std::uint8_t ioPort(std::uint16_t port, std::uint8_t data, bool read);
    std::uint32_t pci(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                      std::uint32_t data, bool read);
    std::uint8_t superIo(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                         std::uint8_t data, bool read);
    std::uint8_t readCmos(std::uint8_t index, std::uint16_t indexPort);
    void writeCmos(std::uint8_t index, std::uint8_t value, std::uint16_t indexPort);
    void fanControl(std::uint8_t reg, std::uint8_t duty);

    // The hardware monitor, as the power-saving library reads it.
    int detectSuperIo(int kind);
    int readTemperatures(hw::nimbrel::TemperatureBuffer& buffer, int kind);
    int readVoltages(hw::nimbrel::SensorArray& values);

    // The power-saving library's controls of the operating system: power plan, clock throttling and
    // the SATA ports without a drive.
    int setPowerMode(int mode);
    int powerMode() const { return m_powerMode; }
    int setThrottling(int state);
    int throttling() const { return m_throttling; }
    int enableSata();
    int disableSata();
    int usedSataPorts() const { return m_model.sataPortsUsed; }
    int unusedSataPorts() const { return m_model.sataPorts - m_model.sataPortsUsed; }

    // The CPU's load now, 0 to 1.
    double cpuLoad() const;
    // The physical state brought up to the clock's present.
    const PhysicsState& physics();
    TransactionLog& log() { return m_log; }
    const TransactionLog& log() const { return m_log; }
    // Every register with its value and meaning, then the physical state: for debugging.
    std::string registerDump();
    // Why the kept state could not be used or kept; empty when all is well.
    const std::string& stateProblem() const { return m_stateProblem; }
    SimulatedMachine& machine() { return m_machine; }
    const BoardRegisters& registers() const { return m_registers; }
    // Sets a register's byte whatever its writable bits, as a strap or a test presetting the hardware
    // does; not recorded and not kept. False when there is no such register.
    bool forceRegister(const RegisterRef& ref, std::uint8_t value);
    // The value of a register of any bus (a PCI register's 32 bits), without recording an access.
    std::uint32_t peek(const RegisterRef& ref) const;

private:
    std::chrono::milliseconds now() const;
    PhysicsInputs gatherInputs();
    bool holds(const BitCondition& condition) const;
    int forcedPhases(const PhaseControl& control) const;
    std::span<const PhaseControl> phaseControls() const;
    double quantity(Reading reading, const PhysicsState& state) const;
    std::int64_t noise(Reading reading);
    std::uint8_t liveValue(const RegisterSpec& layout);
    const SpdImage* spdAt(std::uint8_t device) const;

    std::vector<StateEntry> changedRegisters() const;
    bool applyState(const std::vector<StateEntry>& entries);
    void loadState();
    void keepState();
    // Writes a byte register (only its writable bits) and keeps the state when the value changed.
    Outcome writeRegister(const RegisterRef& ref, std::uint8_t value);

    SimulationOptions m_options;
    const BoardModel& m_model;
    const BoardRevision* m_revision = nullptr;
    const GraphicsCard* m_graphics = nullptr;
    std::string m_baseboardVersion;
    std::string m_biosVersion;
    std::string m_baseboardProduct;
    std::vector<MemoryModule> m_modules;
    std::array<std::optional<SpdImage>, kMemorySlots> m_spd;
    std::vector<std::uint8_t> m_smbios;
    BoardRegisters m_registers;
    SimulatedMachine m_machine;
    BoardPhysics m_physics;
    std::shared_ptr<CpuLoadSource> m_cpuLoad;
    std::chrono::steady_clock::time_point m_started;
    platform::LcgRandom m_random;
    TransactionLog m_log;
    std::array<bool, 3> m_loaded{};
    int m_powerMode = 6;
    int m_throttling = 8;
    bool m_sataEnabled = true;
    std::string m_stateProblem;
    bool m_stateUnwritable = false; // what stands at the state file's place must stay as it is
};

} // namespace solvane::sim
