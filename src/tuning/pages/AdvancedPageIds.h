#pragma once

#include <array>

// The ids of the advanced motherboard page (dialog 142) and of the option list popup (dialog 146).
// Everything that names a control of these dialogs, tests included, takes the number from here;
// the rows' ">>" buttons and labels are in the row table (tuning/AdvancedPagePlan.h).
namespace solvane::tuning::pages::advanced_ids {

inline constexpr int kDialog = 142;

// The group boxes and their header pictures: CPU, DDR, MCH/ICH/Fan.
inline constexpr std::array<int, 3> kGroups{1191, 1209, 1210};
inline constexpr std::array<int, 3> kGroupTitles{1193, 1194, 1195};

// Mode radios for Default, Optimize and Max.
inline constexpr std::array<int, 3> kModeRadios{1062, 1063, 1064};

// Profile controls.
inline constexpr int kLoad = 1081;
inline constexpr int kSave = 1082;
inline constexpr int kCancel = 1083;
inline constexpr int kNameEdit = 1085;

// The read-outs: caption and value of total saving, current saving, saving percentage and total
// consumption.
struct Readout {
    int captionId;
    int valueId;
};
inline constexpr std::array<Readout, 4> kReadouts{{{1205, 1061}, {1206, 1060}, {1207, 1078}, {1208, 1079}}};

// The option list popup and its colour list box.
inline constexpr int kOptionListDialog = 146;
inline constexpr int kOptionList = 1060;

// The cursor over the radios that are not selected.
inline constexpr int kPointingCursor = 141;

} // namespace solvane::tuning::pages::advanced_ids
