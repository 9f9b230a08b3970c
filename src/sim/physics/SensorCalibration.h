#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace solvane::sim {

// Physical quantities a board's sensors report, each in its base unit.
enum class Reading : std::uint8_t {
    CoreVoltage,      // millivolts at the CPU socket
    VttVoltage,       // millivolts
    MemoryVoltage,    // millivolts
    Rail33,           // millivolts of the 3.3 V rail
    Rail5,            // millivolts of the 5 V rail
    Rail12,           // millivolts of the 12 V rail
    BoardTemperature, // degrees Celsius of the chipset area
    CpuFanRpm,        // revolutions per minute
    CpuCurrent,       // amperes delivered to the CPU
    CpuInputCurrent,  // amperes the CPU regulator draws from 12 V
    CpuInputPower,    // watts the CPU regulator draws
    CpuPower,         // watts delivered to the CPU
    Rail33Current,    // amperes drawn from the 3.3 V rail
    Rail5Current,     // amperes drawn from the 5 V rail
    Rail12Current,    // amperes drawn from the 12 V rail
};

inline constexpr std::size_t kMaxPhases = 6;

// How a sensor turns a quantity into its raw reading:
//   raw = round((offset[p] + gain[p] × quantity) / lsb)
// where p is the number of active phases of the regulator the sensor watches (1 to 6; index 0 is
// unused). Per-phase current sensing makes offset and gain depend on p; other sensors repeat one
// value. Fields: slot (the position in the sensor library's value array, or the register for a live
// SMBus register), reading, lsb (quantity units per count, after gain), offset, gain.
struct SensorSlot {
    std::uint8_t slot = 0;
    Reading reading = Reading::CoreVoltage;
    double lsb = 1.0;
    std::array<double, kMaxPhases + 1> offset{};
    std::array<double, kMaxPhases + 1> gain{};
};

constexpr std::array<double, kMaxPhases + 1> repeated(double value) {
    return {value, value, value, value, value, value, value};
}

// A sensor whose raw reading is quantity / lsb.
constexpr SensorSlot linear(std::uint8_t slot, Reading reading, double lsb) {
    return {.slot = slot, .reading = reading, .lsb = lsb, .offset = repeated(0.0), .gain = repeated(1.0)};
}

// A current sense amplifier: an offset voltage plus a gain per ampere, both by active phase count.
constexpr SensorSlot currentSense(std::uint8_t slot, double lsb, std::array<double, kMaxPhases + 1> offset,
                                  std::array<double, kMaxPhases + 1> gain) {
    return {.slot = slot, .reading = Reading::CpuCurrent, .lsb = lsb, .offset = offset, .gain = gain};
}

// The raw value of a sensor for a quantity, with p active phases.
std::int64_t encodeReading(const SensorSlot& sensor, double quantity, int activePhases);

using SensorLayout = std::span<const SensorSlot>;

} // namespace solvane::sim
