#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace solvane::power {

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
};

enum class SettingGroup { Voltage, ReferenceVoltage, Phase, Fan, Led };

inline constexpr std::size_t kSettingCount = 29;
inline constexpr std::size_t kModeSettingCount = 20;
inline constexpr std::size_t kSettingSlots = 31;

constexpr int indexOf(Setting setting) {
    return static_cast<int>(setting);
}

// The catalogue: index order, the key under which profiles store the setting, and how its value
// is read (voltages are option indices, phases 0 = automatic, the fan 1 = smart, LEDs on/off).
struct SettingKey {
    Setting setting;
    std::string_view key;
    SettingGroup group;
};

inline constexpr std::array<SettingKey, kSettingCount> SettingKeys{{
    {Setting::CpuVoltage, "CPU_VOLTAGE", SettingGroup::Voltage},
    {Setting::VttFsbVoltage, "VTT_FSB_VOLTAGE", SettingGroup::Voltage},
    {Setting::CpuPllVoltage, "CPU_PLL_VOLTAGE", SettingGroup::Voltage},
    {Setting::CpuVttdPhase, "CPU_VTTD_PHASE", SettingGroup::Phase},
    {Setting::GtlRef1Voltage, "GTL_REF1_VOLTAGE", SettingGroup::ReferenceVoltage},
    {Setting::GtlRef2Voltage, "GTL_REF2_VOLTAGE", SettingGroup::ReferenceVoltage},
    {Setting::CpuPhase, "CPU_PHASE", SettingGroup::Phase},
    {Setting::DdrVoltage, "DDR_VOLTAGE", SettingGroup::Voltage},
    {Setting::DdrVrefCaA, "DDR_VREF_CA_A", SettingGroup::ReferenceVoltage},
    {Setting::DdrVrefCaB, "DDR_VREF_CA_B", SettingGroup::ReferenceVoltage},
    {Setting::DdrVrefCaC, "DDR_VREF_CA_C", SettingGroup::ReferenceVoltage},
    {Setting::DdrVrefDaA, "DDR_VREF_DA_A", SettingGroup::ReferenceVoltage},
    {Setting::DdrVrefDaB, "DDR_VREF_DA_B", SettingGroup::ReferenceVoltage},
    {Setting::DdrVrefDaC, "DDR_VREF_DA_C", SettingGroup::ReferenceVoltage},
    {Setting::DdrPhase, "DDR_PHASE", SettingGroup::Phase},
    {Setting::MchVoltage, "MCH_VOLTAGE", SettingGroup::Voltage},
    {Setting::NbGtlRef, "NB_GTL_REF", SettingGroup::ReferenceVoltage},
    {Setting::MchPhase, "MCH_PHASE", SettingGroup::Phase},
    {Setting::IchVoltage, "ICH_VOLTAGE", SettingGroup::Voltage},
    {Setting::SmartFan, "SMART_FAN", SettingGroup::Fan},
    {Setting::AllLed, "ALL_LED", SettingGroup::Led},
    {Setting::CpuPhaseLed, "CPU_PHASE_LED", SettingGroup::Led},
    {Setting::PowerResetLed, "POWER_RESET_LED", SettingGroup::Led},
    {Setting::CpuVttdPhaseLed, "CPU_VTTD_PHASE_LED", SettingGroup::Led},
    {Setting::DdrPhaseLed, "DDR_PHASE_LED", SettingGroup::Led},
    {Setting::MchPhaseLed, "MCH_PHASE_LED", SettingGroup::Led},
    {Setting::S0S3Led, "S0_S3_LED", SettingGroup::Led},
    {Setting::PciSlotLed, "PCI_SLOT_LED", SettingGroup::Led},
    {Setting::PcieSlotLed, "PCIE_SLOT_LED", SettingGroup::Led},
}};

constexpr bool catalogueIsInIndexOrder() {
    for (std::size_t i = 0; i < SettingKeys.size(); ++i)
        if (indexOf(SettingKeys[i].setting) != static_cast<int>(i))
            return false;
    return true;
}
static_assert(catalogueIsInIndexOrder(), "the catalogue lists every setting at its own index");

// A setting value: an option index, 0 = automatic for phases, or kNotPresent when the board lacks
// the setting. kNotPresent is never written to hardware.
using SettingValue = std::int32_t;
inline constexpr SettingValue kNotPresent = -1;

using SettingVector = std::array<SettingValue, kSettingSlots>;

constexpr SettingVector notPresentVector() {
    SettingVector vector{};
    vector.fill(kNotPresent);
    return vector;
}

} // namespace solvane::power
