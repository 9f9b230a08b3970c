#pragma once

#include "power/SettingCatalogue.h"

#include <string>
#include <string_view>

namespace solvane::power {

enum class PowerMode : int { None = -1, Default = 0, Optimize = 1, Max = 2 };

inline constexpr std::string_view kProductKey = "Software\\Tarvok\\SolvaneCenter";
inline constexpr std::string_view kDefaultModeKey = "Software\\Tarvok\\SolvaneCenter\\Default";
inline constexpr std::string_view kOptimizeModeKey = "Software\\Tarvok\\SolvaneCenter\\Optimize";
inline constexpr std::string_view kMaxModeKey = "Software\\Tarvok\\SolvaneCenter\\Max";
inline constexpr std::string_view kDefaultSettingValue = "DefaultSetting";
inline constexpr std::string_view kEnableSolvaneValue = "EnableSolvane";
inline constexpr std::string_view kNormalEndValue = "SolvaneNormalEnd";
inline constexpr std::string_view kTestPlatformValue = "TestPlatform";

// The registry key of a mode; empty for None.
std::string_view modeKey(PowerMode mode);

// What the basic-mode page, the advanced pages and the main window share about settings and
// modes. One per process, owned by the application object and passed by reference.
struct PowerModeState {
    SettingVector CurrentValues = notPresentVector();
    SettingVector StartupValues = notPresentVector();
    SettingVector DefaultTargets = notPresentVector();
    SettingVector OptimizeTargets = notPresentVector();
    SettingVector MaxTargets = notPresentVector();
    PowerMode ActiveMode = PowerMode::None;
    std::string ActiveModeKey;
    int PendingSettingIndex = -1;
    // The argument of the next read-back request: a setting index, or kReadAllSettings.
    int ReadRequest = -1;

    // The target vector of a mode (DefaultTargets for None, which writes nothing of its own).
    const SettingVector& targetsOf(PowerMode mode) const;
    void selectMode(PowerMode mode);
};

} // namespace solvane::power
