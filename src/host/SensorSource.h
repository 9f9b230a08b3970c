#pragma once

#include <string>
#include <vector>

namespace solvane::host {

// What a hardware monitoring sensor measures, and so the unit of its value.
enum class SensorQuantity {
    Temperature, // degrees Celsius
    Voltage,     // volts
    Fan,         // revolutions per minute
    Power,       // watts
};

// One reading of a hardware monitoring chip.
struct SensorReading {
    SensorQuantity quantity = SensorQuantity::Temperature;
    std::string chip;  // the chip's driver name: "coretemp", "k10temp", "nct6775", "acpitz"
    std::string label; // "Package id 0", "Vcore", "SYSTIN"; "temp1", "in0", "fan1", "power1" when unlabelled
    double value = 0;  // in the unit of quantity
};

// The machine's temperature, voltage and fan readings, read afresh on each call. One
// implementation asks libsensors (which applies the sensors configuration: labels and the scaling
// of divided voltages), the other reads the hwmon attributes of a sysfs tree as the kernel gives
// them, for fixture trees.
class SensorSource {
public:
    virtual ~SensorSource() = default;
    virtual std::vector<SensorReading> read() = 0;
    // Where the readings come from, for people: "libsensors", "hwmon under /tmp/tree/class/hwmon".
    virtual std::string origin() const = 0;
};

} // namespace solvane::host
