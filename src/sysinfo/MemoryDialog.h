#pragma once

#include "sysinfo/Ddr3TimingsTable.h"

#include <array>
#include <string_view>

namespace solvane::sysinfo::memory_dialog {

// Dialog 138, the memory page: its resources and the numbers of its controls.
inline constexpr int kDialogId = 138;
inline constexpr int kBackgroundBitmap = 148;

inline constexpr int kSlotList = 1139; // drop-down list of the populated slots

// Module fields.
inline constexpr int kMemoryType = 1140;
inline constexpr int kModuleSize = 1141;
inline constexpr int kWeekYear = 1142;
inline constexpr int kManufacturer = 1143;
inline constexpr int kPartNumber = 1144;
inline constexpr int kSerialNumber = 1145;

// Memory status fields.
inline constexpr int kTotalPhysicalMemory = 1170;
inline constexpr int kMemoryLoad = 1171;

// The timings table: the caption of each row (in TimingRow order), and the field of each row and
// column.
inline constexpr std::array<std::string_view, kTimingRows> kTimingCaptions{
    "Frequency", "CAS# Latency", "RAS# to CAS#", "RAS# Precharge", "tRAS", "tRC", "Voltage",
};
inline constexpr std::array<std::array<int, kTimingColumns>, kTimingRows> kTimingFields{{
    {1146, 1147, 1148, 1149}, // Frequency
    {1150, 1151, 1152, 1153}, // CAS# Latency
    {1154, 1155, 1156, 1157}, // RAS# to CAS#
    {1172, 1173, 1174, 1175}, // RAS# Precharge
    {1158, 1159, 1160, 1161}, // tRAS
    {1162, 1163, 1164, 1165}, // tRC
    {1166, 1167, 1168, 1169}, // Voltage
}};

// Section-title pictures and the client rectangles they are moved to at initialisation.
struct PictureRect {
    int controlId;
    int x;
    int y;
    int width;
    int height;
};
inline constexpr PictureRect kSpdTitle{1196, 35, 46, 34, 18};
inline constexpr PictureRect kTimingsTitle{1197, 55, 153, 85, 18};

// The memory status is refreshed on timer 0.
inline constexpr int kStatusTimer = 0;
inline constexpr unsigned kStatusPeriodMs = 2000;

} // namespace solvane::sysinfo::memory_dialog
