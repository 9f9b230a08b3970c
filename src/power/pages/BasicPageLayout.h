#pragma once

#include "power/BasicPageIds.h"
#include "power/PowerModeNames.h"

#include <array>
#include <string_view>

namespace solvane::power::pages {

// The dialog template of the basic-mode page (dialog 133): where each control sits on the
// 700 × 392 page, in page coordinates.
struct Box {
    int x;
    int y;
    int width;
    int height;
};

// The three panels: a group box with its heading picture and the read-out rows it holds, in order.
struct Panel {
    int groupId;
    std::string_view group;
    int titleId;
    int titleBitmap;
    Box box;
    std::array<int, 7> rows; // value ids, 0 ends the list
};

inline constexpr std::array<Panel, 3> kPanels{{
    {basic_ids::kCpuGroup,
     "CPU",
     basic_ids::kCpuTitle,
     267,
     {12, 76, 224, 238},
     {basic_ids::kCpuConsumption, basic_ids::kCpuSaving, basic_ids::kCpuEfficiency, basic_ids::kCoreVoltage,
      basic_ids::kCpuTemperature, basic_ids::kFanSpeed, basic_ids::kCpuPhases}},
    {basic_ids::kMemoryGroup,
     "DDR / MCH",
     basic_ids::kMemoryTitle,
     272,
     {244, 76, 212, 238},
     {basic_ids::kMemoryVoltage, basic_ids::kMemoryPhases, basic_ids::kIohVoltage, basic_ids::kIohTemperature,
      basic_ids::kIohPhases, 0, 0}},
    {basic_ids::kIchGroup,
     "ICH / SysCard",
     basic_ids::kIchTitle,
     273,
     {464, 76, 224, 238},
     {basic_ids::kIchVoltage, basic_ids::kRail33, basic_ids::kRail5, basic_ids::kRail12, 0, 0, 0}},
}};

// The four totals along the top: heading and value.
inline constexpr std::array<int, 4> kTotals{basic_ids::kTotalSaving, basic_ids::kCurrentSaving,
                                            basic_ids::kSavingPercentage, basic_ids::kTotalConsumption};
inline constexpr Box kTotalsBand{12, 8, 676, 58};

inline constexpr int kRowHeight = 30;
inline constexpr int kRowTop = 30; // first row below the panel's top edge
inline constexpr Box kMessageLine{12, 318, 676, 18};

// The three mode buttons, left to right: radio id, the four state pictures (normal, pressed,
// hover, disabled) and the tooltip.
struct ModeButtonSpec {
    int controlId;
    std::array<int, 4> bitmaps;
    std::string_view tooltip;
};
inline constexpr std::array<ModeButtonSpec, 3> kModeButtons{{
    {basic_ids::kDefaultMode, {168, 170, 171, 169}, modeTitle(PowerMode::Default)},
    {basic_ids::kOptimizeMode, {176, 166, 167, 178}, modeTitle(PowerMode::Optimize)},
    {basic_ids::kMaxMode, {172, 174, 175, 173}, modeTitle(PowerMode::Max)},
}};
inline constexpr int kModeButtonTop = 342;
inline constexpr int kModeButtonWidth = 196;
inline constexpr int kModeButtonHeight = 44;
inline constexpr int kModeButtonGap = 20;

} // namespace solvane::power::pages
