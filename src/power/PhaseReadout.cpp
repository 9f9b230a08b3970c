#include "power/PhaseReadout.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace solvane::power {

namespace {

// Phase names by active count; a count of 0 names the full six phases.
constexpr std::array<std::string_view, 12> kPhaseNames{"6 phase", "1 phase", "2 phase", "3 phase",
                                                       "4 phase", "5 phase", "6 phase", "Auto",
                                                       "Disable", "Disable", "Enable",  "AUTO"};

} // namespace

int activePhaseCount(SettingValue value, int levelCount) {
    return value == 0 ? levelCount : value + 1;
}

int activeCpuPhaseCount(SettingValue value, int levelCount, int reportedActive) {
    if (value == kNotPresent)
        return 0;
    return value == 0 && reportedActive > 0 ? reportedActive : activePhaseCount(value, levelCount);
}

int shownPhaseCount(SettingValue value, int reportedRunning) {
    return value == 0 ? std::max(0, reportedRunning) : value + 1;
}

std::string phaseReadout(SettingValue value, int activeCount) {
    if (value == kNotPresent)
        return "N/A.";
    // A level count is no count of running phases: without the regulator's own report, plain "Auto".
    if (value == 0)
        return activeCount > 0 ? "Auto (" + std::to_string(activeCount) + ")" : "Auto";
    if (activeCount < 0 || activeCount >= static_cast<int>(kPhaseNames.size()))
        return "N/A.";
    return std::string(kPhaseNames[static_cast<std::size_t>(activeCount)]);
}

std::string phaseSwitchReadout(SettingValue value) {
    if (value == kNotPresent)
        return "N/A.";
    return value == 0 ? "Auto" : "Disable";
}

} // namespace solvane::power
