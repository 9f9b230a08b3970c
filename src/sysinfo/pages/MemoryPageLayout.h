#pragma once

#include "sysinfo/MemoryDialog.h"

#include <array>
#include <string_view>

namespace solvane::sysinfo::pages {

// Where the controls of the memory page (dialog 138) sit on the 700 × 392 page, in page coordinates.
struct Box {
    int x;
    int y;
    int width;
    int height;
};

// The memory status along the top: caption and value of each field.
struct CaptionedField {
    int fieldId;
    std::string_view caption;
    Box captionBox;
    Box valueBox;
};
inline constexpr std::array<CaptionedField, 2> kStatusFields{{
    {memory_dialog::kTotalPhysicalMemory, "Total Physical Memory", {20, 10, 150, 24}, {170, 10, 170, 24}},
    {memory_dialog::kMemoryLoad, "Memory Load", {370, 10, 110, 24}, {480, 10, 100, 24}},
}};

// The SPD group: the slot list with the memory type beside it, then the captioned module fields.
inline constexpr Box kSpdGroup{20, 55, 660, 96};
inline constexpr Box kSlotListBox{36, 68, 110, 22};
inline constexpr Box kMemoryTypeBox{156, 68, 140, 22}; // wide enough for "DDR5 Solder down"
inline constexpr std::array<CaptionedField, 5> kModuleFields{{
    {memory_dialog::kModuleSize, "Module Size", {300, 66, 100, 24}, {400, 66, 270, 24}},
    {memory_dialog::kManufacturer, "Manufacturer", {36, 94, 100, 24}, {136, 94, 160, 24}},
    {memory_dialog::kPartNumber, "Part Number", {300, 94, 100, 24}, {400, 94, 270, 24}},
    {memory_dialog::kWeekYear, "Week / Year", {36, 120, 100, 24}, {136, 120, 160, 24}},
    {memory_dialog::kSerialNumber, "Serial Number", {300, 120, 100, 24}, {400, 120, 270, 24}},
}};

// The timings group: a caption column and four value columns, one line per row of the table.
inline constexpr Box kTimingsGroup{40, 162, 640, 220};
inline constexpr int kTimingCaptionX = 60;
inline constexpr int kTimingCaptionWidth = 140;
inline constexpr int kTimingFirstColumnX = 210;
inline constexpr int kTimingColumnWidth = 112;
inline constexpr int kTimingFirstRowY = 186;
inline constexpr int kTimingRowHeight = 27;

} // namespace solvane::sysinfo::pages
