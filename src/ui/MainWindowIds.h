#pragma once

// The ids of the main window (dialog 102): its navigation and window buttons and the static the
// pages are placed on. Everything that names one of them, tests included, takes the number from here.
namespace solvane::ui::main_window_ids {

inline constexpr int kDialog = 102;

// The navigation buttons: the two groups, their pages and the advanced sub-pages.
inline constexpr int kSystemInfo = 1001;
inline constexpr int kProduct = 1002;
inline constexpr int kMotherboardInfo = 1037;
inline constexpr int kMemory = 1026;
inline constexpr int kPci = 1027;
inline constexpr int kBasic = 1029;
inline constexpr int kAdvanced = 1030;
inline constexpr int kMotherboardSettings = 1033;
inline constexpr int kLedSettings = 1038;

// The maker's web-site link and the window buttons.
inline constexpr int kWebSite = 1083;
inline constexpr int kExit = 1084;
inline constexpr int kMinimise = 1085;

// The hidden static whose rectangle every stacked page is placed in.
inline constexpr int kPagePlaceholder = 1005;

// The LED settings page the LED button leads to.
inline constexpr int kLedPage = 242;

} // namespace solvane::ui::main_window_ids
