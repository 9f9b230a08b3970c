#pragma once

#include "tuning/LedPagePlan.h"
#include "ui/MainWindowIds.h"

// The ids of the LED page (dialog 242). Everything that names a control of this dialog, tests
// included, takes the number from here; the switches' buttons, labels, picture buttons and lamps,
// the slot pictures and the LED group picture are in the switch table (tuning/LedPagePlan.h).
namespace solvane::tuning::pages::led_ids {

inline constexpr int kDialog = ui::main_window_ids::kLedPage;

// Profile controls.
inline constexpr int kLoad = 1083;
inline constexpr int kSave = 1084;
inline constexpr int kNameEdit = 1085;
inline constexpr int kCancel = 1086;

inline constexpr int kLedGroupPicture = tuning::kLedGroupPicture;

} // namespace solvane::tuning::pages::led_ids
