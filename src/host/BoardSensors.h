#pragma once

#include "host/SensorSource.h"
#include "hw/HardwareLibraries.h"

#include <optional>
#include <span>

namespace solvane::host {

// The readings the power-saving page asks the power-saving library for, picked from the host's
// sensors. Empty where the host has no such sensor.
struct BoardSensors {
    std::optional<double> cpuTemperature;   // degrees Celsius
    std::optional<double> boardTemperature; // degrees Celsius
    std::optional<double> coreVoltage;      // volts
    std::optional<double> rail3v3;          // volts
    std::optional<double> rail5v;           // volts
    std::optional<double> rail12v;          // volts
    std::optional<double> fanRpm;           // rpm

    // Picks each reading by chip and label (see the tables in the source).
    static BoardSensors pick(std::span<const SensorReading> readings);

    // GetTemp's buffer: t[0] the CPU and t[1] the board temperature in whole degrees Celsius as
    // signed bytes; every other byte, and a temperature the host lacks, 0. Returns non-zero when the
    // CPU temperature is known.
    int fillTemperatures(hw::nimbrel::TemperatureBuffer& buffer) const;

    // GetVol's array, in the layout of boards whose sensor kind is neither 27 nor 100: v[0] core
    // voltage, v[2] the 3.3 V, v[3] the 5 V and v[4] the 12 V rail, all in millivolts; v[7] the
    // board temperature in degrees Celsius; v[8] the fan in rpm. Every other entry, and a reading
    // the host lacks, 0. Returns non-zero when any reading is known.
    int fillSensorArray(hw::nimbrel::SensorArray& values) const;
};

} // namespace solvane::host
