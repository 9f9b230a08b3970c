#pragma once

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
    {1076, "CPU", 1193, 267, {12, 76, 224, 238}, {1053, 1054, 1055, 1034, 1042, 1045, 1036}},
    {1209, "DDR / MCH", 1194, 272, {244, 76, 212, 238}, {1037, 1038, 1039, 1044, 1041, 0, 0}},
    {1210, "ICH / SysCard", 1195, 273, {464, 76, 224, 238}, {1040, 1049, 1050, 1051, 0, 0, 0}},
}};

// The four totals along the top: heading and value.
inline constexpr std::array<int, 4> kTotals{1057, 1056, 1035, 1052};
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
    {1062, {168, 170, 171, 169}, "Default Mode"},
    {1063, {176, 166, 167, 178}, "Optimize Mode"},
    {1064, {172, 174, 175, 173}, "Max Power Saving Mode"},
}};
inline constexpr int kModeButtonTop = 342;
inline constexpr int kModeButtonWidth = 196;
inline constexpr int kModeButtonHeight = 44;
inline constexpr int kModeButtonGap = 20;

// The mode menu (menu 216).
inline constexpr int kModeMenuId = 216;
inline constexpr int kMenuDefault = 32791;
inline constexpr int kMenuOptimize = 32792;
inline constexpr int kMenuMax = 32793;

} // namespace solvane::power::pages
