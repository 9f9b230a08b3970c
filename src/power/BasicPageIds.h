#pragma once

// The ids of the basic-mode page (dialog 133): its controls, its menu and the menu's commands.
// Everything that names a control of this page, tests included, takes the number from here.
namespace solvane::power::basic_ids {

inline constexpr int kDialog = 133;

// The four totals along the top.
inline constexpr int kTotalSaving = 1057;
inline constexpr int kCurrentSaving = 1056;
inline constexpr int kSavingPercentage = 1035;
inline constexpr int kTotalConsumption = 1052;

// The CPU panel.
inline constexpr int kCpuGroup = 1076;
inline constexpr int kCpuTitle = 1193;
inline constexpr int kCpuConsumption = 1053;
inline constexpr int kCpuSaving = 1054;
inline constexpr int kCpuEfficiency = 1055;
inline constexpr int kCoreVoltage = 1034;
inline constexpr int kCpuTemperature = 1042;
inline constexpr int kFanSpeed = 1045;
inline constexpr int kCpuPhases = 1036;

// The memory and north bridge panel.
inline constexpr int kMemoryGroup = 1209;
inline constexpr int kMemoryTitle = 1194;
inline constexpr int kMemoryVoltage = 1037;
inline constexpr int kMemoryPhases = 1038;
inline constexpr int kIohVoltage = 1039;
inline constexpr int kIohTemperature = 1044;
inline constexpr int kIohPhases = 1041;

// The south bridge and rails panel.
inline constexpr int kIchGroup = 1210;
inline constexpr int kIchTitle = 1195;
inline constexpr int kIchVoltage = 1040;
inline constexpr int kRail33 = 1049;
inline constexpr int kRail5 = 1050;
inline constexpr int kRail12 = 1051;

// Captions a board renames: the bridge voltages read "NB Voltage" and "SB Voltage" on some boards.
inline constexpr int kIohVoltageCaption = 1102;
inline constexpr int kIchVoltageCaption = 1154;

inline constexpr int kMessageLine = 1043;

// The three mode buttons (radios), left to right.
inline constexpr int kDefaultMode = 1062;
inline constexpr int kOptimizeMode = 1063;
inline constexpr int kMaxMode = 1064;

// The mode menu (menu 216) and its commands; the last is added to open the power history.
inline constexpr int kModeMenu = 216;
inline constexpr int kMenuDefault = 32791;
inline constexpr int kMenuOptimize = 32792;
inline constexpr int kMenuMax = 32793;
inline constexpr int kMenuPowerHistory = 32794;

} // namespace solvane::power::basic_ids
