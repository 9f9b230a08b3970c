#pragma once

#include "power/PowerMeasurement.h"
#include "power/PowerModeState.h"
#include "power/SensorSnapshot.h"

#include <array>
#include <string>
#include <string_view>

namespace solvane::history {

// One refresh's read-outs in plain units, as the history keeps them and the metrics show them.
struct PowerSample {
    double systemWatts = 0;            // total consumption
    double cpuWatts = 0;               // CPU consumption
    double savingWatts = 0;            // current saving (never below 0, like its read-out)
    double cpuCelsius = 0;             // CPU temperature
    double fanRpm = 0;                 // CPU fan speed
    double coreVolts = 0;              // core voltage
    std::array<double, 3> railWatts{}; // 3.3 V, 5 V, 12 V
    power::PowerMode mode = power::PowerMode::None;
    // On an ordinary PC, what the powers are measured on ("CPU package power (powercap ...)"), or
    // why nothing is; empty on a supported board, whose figures come from its own sensors.
    std::string powerSource;
};

// What the history names as the source of a supported board's powers.
inline constexpr std::string_view kBoardPowerSource = "board sensors";

inline constexpr std::array<std::string_view, 3> kRailNames{"3.3V", "5V", "12V"};

// The figures of the refresh that just ran, in the units of the basic page's read-outs.
PowerSample samplePower(const power::Measurements& values, const power::SensorSnapshot& snapshot,
                        power::PowerMode mode);

// Energy saved across runs, in kWh, from the registry totals ("degree" and "totalPowerSaving").
double savedKilowattHours(const power::Measurements& values);

// The saving of one refresh interval (0.01 W·s) in kWh.
double kilowattHoursOf(std::int64_t hundredthWattSeconds);

// "Default", "Optimize", "Max" or "None".
std::string_view modeLabel(power::PowerMode mode);

} // namespace solvane::history
