#pragma once

#include <optional>
#include <string>
#include <vector>

namespace solvane::hw {

// Why an ordinary PC's read-out has no value.
enum class MissingReason {
    None,
    NeedsRoot,  // the kernel lets only root read it
    NoCounter,  // the machine has no such counter, or it does not count
    NoSensor,   // no sensor measures it
    Measuring,  // a power over an interval: the first interval has not ended
    NotNow,     // nothing to measure in the present state (the battery while on mains)
    Unreadable, // the file is there but the read failed
};

// One read-out of an ordinary PC: its value, where it was read, or why it could not be.
struct MachineReading {
    std::string label{};           // the sensor's own name where it has one ("Vcore", "fan2", "package-0")
    std::optional<double> value{}; // in the unit of the read-out: watts, degrees Celsius, volts or rpm
    std::string source{};          // where the value comes from ("powercap intel-rapl:0 (package-0)")
    std::string missing{};         // why there is no value ("needs root: /sys/class/powercap/...")
    MissingReason reason = MissingReason::None;
};

// Whether the machine runs from the mains or its battery, as power_supply says.
enum class PowerSupplyState {
    Unknown, // no power_supply entry tells
    Mains,   // a mains adapter is online, or the battery charges or is full
    Battery, // the battery discharges
};

// What an ordinary PC exposes of its power and sensors in one refresh.
struct MachineReadings {
    MachineReading package;              // CPU package power, W (all packages summed)
    std::vector<MachineReading> domains; // core, uncore and DRAM power, W, where the counters exist
    MachineReading battery;              // the system's draw from its battery, W
    PowerSupplyState supply = PowerSupplyState::Unknown;
    std::string supplySource;             // the power_supply entries that told the state
    MachineReading graphics;              // graphics-card power, W
    MachineReading cpuTemperature;        // degrees Celsius
    MachineReading boardTemperature;      // degrees Celsius
    MachineReading coreVoltage;           // volts
    std::vector<MachineReading> fans;     // rpm, every fan that spins, the CPU's first
    std::vector<MachineReading> voltages; // volts, every voltage the chip or configuration labels
};

// The read-outs of an ordinary PC, read afresh on each call; powers are averages over the time
// since the previous call.
class MachineMeter {
public:
    virtual ~MachineMeter() = default;
    virtual MachineReadings read() = 0;
};

} // namespace solvane::hw
