#pragma once

#include "sysinfo/MotherboardInfo.h"

#include <array>

// The ids of the motherboard information page (dialog 235). Everything that names a control of this
// page, tests included, takes the number from here.
namespace solvane::sysinfo::pages::motherboard_ids {

inline constexpr int kDialog = 235;

// The value labels, by value.
struct ValueLabel {
    MotherboardValue value;
    int controlId;
};
inline constexpr std::array<ValueLabel, kMotherboardValueCount> kValueLabels{{
    {MotherboardValue::Manufacturer, 1138},
    {MotherboardValue::ProductName, 1139},
    {MotherboardValue::SerialNumber, 1149},
    {MotherboardValue::VendorName, 1150},
    {MotherboardValue::Version, 1151},
    {MotherboardValue::BuildDate, 1152},
    {MotherboardValue::ProcessorName, 1166},
    {MotherboardValue::CoreVoltage, 1168},
    {MotherboardValue::ExternalClock, 1158},
    {MotherboardValue::NumberOfProcessors, 1167},
    {MotherboardValue::ProcessorId, 1162},
    {MotherboardValue::Family, 1156},
    {MotherboardValue::Model, 1159},
    {MotherboardValue::Stepping, 1161},
    {MotherboardValue::Chipset, 1163},
    {MotherboardValue::BiosVersion, 1164},
    {MotherboardValue::DriverVersion, 1165},
}};

// The bridge and Super I/O rows: maker and chip.
inline constexpr int kNorthBridgeVendor = 1142;
inline constexpr int kNorthBridgeChip = 1143;
inline constexpr int kSouthBridgeVendor = 1144;
inline constexpr int kSouthBridgeChip = 1147;
inline constexpr int kSuperIoVendor = 1145;
inline constexpr int kSuperIoChip = 1148;
// The bridge rows' captions, which the page sets; the template has no numbers for them.
inline constexpr int kNorthBridgeCaption = 1200;
inline constexpr int kSouthBridgeCaption = 1201;

// Group boxes and the section-title pictures over them.
inline constexpr int kMotherboardGroup = 1189;
inline constexpr int kBiosGroup = 1190;
inline constexpr int kProcessorGroup = 1191;
inline constexpr int kVgaGroup = 1192;
inline constexpr int kMotherboardTitle = 1193;
inline constexpr int kProcessorTitle = 1195;
inline constexpr int kBiosTitle = 1196;
inline constexpr int kVgaTitle = 1197;
// Kept hidden and never set.
inline constexpr int kHiddenValue = 1140;

// The page's one timer: the core-voltage field.
inline constexpr int kCoreVoltageTimer = 0;
inline constexpr unsigned kCoreVoltagePeriodMs = 2000;

} // namespace solvane::sysinfo::pages::motherboard_ids
