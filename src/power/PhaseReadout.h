#pragma once

#include "power/SettingCatalogue.h"

#include <string>

namespace solvane::power {

// The text of a phase read-out: automatic phases show "Auto (n)" with the active phase count, a
// fixed option the name of its count ("3 phase"); a setting the board lacks shows "N/A.".
std::string phaseReadout(SettingValue value, int activeCount);

// The CPU phase row of 2904 and 2901, whose phase control is a plain switch.
std::string phaseSwitchReadout(SettingValue value);

// The phases at work for a phase setting: all levels when automatic, else the option's count.
int activePhaseCount(SettingValue value, int levelCount);
// The CPU phases at work: while automatic, the count the regulator reports (0: it reports none);
// otherwise as for any phase setting; none for a board without the setting.
int activeCpuPhaseCount(SettingValue value, int levelCount, int reportedActive);

} // namespace solvane::power
