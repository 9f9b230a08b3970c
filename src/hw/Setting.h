#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace solvane::hw {

// Every tunable property of a board is one setting with a fixed index. Indices 0 to 19 take part
// in the power modes; 20 to 28 are the board LEDs. Slots 29 and 30 hold the two extra LED switches
// of the LED page; they have no key and take part in nothing else.
enum class Setting : int {
    CpuVoltage = 0,
    VttFsbVoltage = 1,
    CpuPllVoltage = 2,
    CpuVttdPhase = 3,
    GtlRef1Voltage = 4,
    GtlRef2Voltage = 5,
    CpuPhase = 6,
    DdrVoltage = 7,
    DdrVrefCaA = 8,
    DdrVrefCaB = 9,
    DdrVrefCaC = 10,
    DdrVrefDaA = 11,
    DdrVrefDaB = 12,
    DdrVrefDaC = 13,
    DdrPhase = 14,
    MchVoltage = 15,
    NbGtlRef = 16,
    MchPhase = 17,
    IchVoltage = 18,
    SmartFan = 19,
    AllLed = 20,
    CpuPhaseLed = 21,
    PowerResetLed = 22,
    CpuVttdPhaseLed = 23,
    DdrPhaseLed = 24,
    MchPhaseLed = 25,
    S0S3Led = 26,
    PciSlotLed = 27,
    PcieSlotLed = 28,
    CpuLoadLineLed = 29, // the two extra LED switches of 2915, without a catalogue key
    HdLed = 30,
};

inline constexpr std::size_t kSettingSlots = 31;

constexpr int indexOf(Setting setting) {
    return static_cast<int>(setting);
}

// A setting value: an option index, 0 = automatic for phases, or kNotPresent when the board lacks
// the setting. kNotPresent is never written to hardware.
using SettingValue = std::int32_t;
inline constexpr SettingValue kNotPresent = -1;

// The read-back request that reads every setting of the board instead of one setting index.
inline constexpr int kReadAllSettings = 99;

using SettingVector = std::array<SettingValue, kSettingSlots>;

constexpr SettingVector notPresentVector() {
    SettingVector vector{};
    vector.fill(kNotPresent);
    return vector;
}

} // namespace solvane::hw
