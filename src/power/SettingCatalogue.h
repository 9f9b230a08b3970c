#pragma once

#include "hw/Setting.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace solvane::power {

// The setting ids and value vectors belong to the board routines; the catalogue adds the keys.
using hw::indexOf;
using hw::kNotPresent;
using hw::kReadAllSettings;
using hw::kSettingSlots;
using hw::notPresentVector;
using hw::Setting;
using hw::SettingValue;
using hw::SettingVector;

enum class SettingGroup { Voltage, ReferenceVoltage, Phase, Fan, Led };

inline constexpr std::size_t kSettingCount = 29;
inline constexpr std::size_t kModeSettingCount = 20;

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

} // namespace solvane::power
