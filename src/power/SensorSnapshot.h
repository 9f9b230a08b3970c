#pragma once

#include "board/PlatformInfo.h"
#include "hw/BoardBus.h"
#include "hw/HardwareLibraries.h"
#include "power/PowerSavingLibrary.h"

#include <cstdint>

namespace solvane::power {

// The raw readings of one refresh, as the sensors and the power-monitor chip deliver them.
struct SensorSnapshot {
    hw::nimbrel::TemperatureBuffer temperatures{}; // t[0] CPU, t[1] board, signed degrees Celsius
    hw::nimbrel::SensorArray sensors{};            // v[0..28]
    bool powerChipPresent = false;                 // device 0x5B identified itself with 0xA3
    int railSense33 = 0;                           // 0x5B register 0x20 (A)
    int railSense12 = 0;                           // 0x5B register 0x21 (B)
    int railSense5 = 0;                            // 0x5B register 0x22 (C)
    int amdRail12 = 0;                             // 2911: 0x5D register 0x11 (a)
    int amdRail5 = 0;                              // 2911: 0x5D register 0x12 (b)

    std::int8_t cpuTemperature() const { return static_cast<std::int8_t>(temperatures[0]); }
    std::int8_t boardTemperature() const { return static_cast<std::int8_t>(temperatures[1]); }
    int v(std::size_t index) const { return sensors[index]; }
};

inline constexpr std::uint8_t kPowerMonitorDevice = 0x5B;
inline constexpr std::uint8_t kPowerMonitorIdRegister = 0x4C;
inline constexpr std::uint8_t kPowerMonitorId = 0xA3;

// Reads the sensors in the order the hardware expects: temperatures, the sensor array, on 2911
// the two rail readings of device 0x5D, then the power-monitor chip.
SensorSnapshot readSensors(PowerSavingLibrary& library, hw::BoardBus& bus, const PlatformInfo& platform);

} // namespace solvane::power
