#pragma once

#include "power/SettingCatalogue.h"

#include <string>

namespace solvane::power {

// The text of a phase read-out: automatic phases show "Auto (n)" with the count running (plain
// "Auto" when the count is 0: the regulator does not tell), a fixed option the name of its count
// ("3 phase"); a setting the board lacks shows "N/A.".
std::string phaseReadout(SettingValue value, int shownCount);
// The count a phase read-out names: a fixed option's own count; while automatic the phases the
// regulator reports running, 0 when it reports none.
int shownPhaseCount(SettingValue value, int reportedRunning);

// The CPU phase row of 2904 and 2901, whose phase control is a plain switch.
std::string phaseSwitchReadout(SettingValue value);

// The phases at work for a phase setting: all levels when automatic, else the option's count.
int activePhaseCount(SettingValue value, int levelCount);
// The CPU phases at work: while automatic, the count the regulator reports (0: it reports none);
// otherwise as for any phase setting; none for a board without the setting.
int activeCpuPhaseCount(SettingValue value, int levelCount, int reportedActive);

} // namespace solvane::power
