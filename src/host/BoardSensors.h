#pragma once

#include "host/SensorSource.h"
#include "hw/HardwareLibraries.h"

#include <optional>
#include <span>

namespace solvane::host {

// The readings the page takes its figures from, each pointing into the readings it was picked
// from; null where the host has no such sensor.
struct SensorPicks {
    const SensorReading* cpuTemperature = nullptr;
    const SensorReading* boardTemperature = nullptr;
    const SensorReading* coreVoltage = nullptr;
    const SensorReading* rail3v3 = nullptr;
    const SensorReading* rail5v = nullptr;
    const SensorReading* rail12v = nullptr;
    const SensorReading* fan = nullptr;
    const SensorReading* graphicsPower = nullptr;

    // Picks each reading by chip and label (see the tables in the source). The CPU temperature is
    // the package's ("Package id 0", the hottest package on several), else the die's ("Tdie": AMD's
    // "Tctl" carries an offset for fan control on some processors), else "Tctl", else the hottest
    // reading of the processor's own sensor chip, else a board chip's CPU-labelled reading.
    // Temperatures outside what a working sensor reads are left out.
    static SensorPicks of(std::span<const SensorReading> readings);
};

// Whether a voltage reading carries a name of its own (from the chip or the sensors
// configuration) rather than the bare input name "in0".
bool labelledVoltage(const SensorReading& reading);

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

    // The figures of SensorPicks::of.
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
