#pragma once

#include "platform/Registry.h"
#include "power/BoardCapabilities.h"
#include "power/BoardCommands.h"
#include "power/PowerModeState.h"

#include <string>

namespace solvane::power {

// Derives OptimizeTargets and MaxTargets from DefaultTargets: Optimize is the board defaults with
// automatic phases and the smart fan; Max is Optimize with every voltage one or more options lower.
// Given the board's option lists, a Max offset that would leave the list or not lower the voltage
// (a list that runs the other way, a default of "Auto") keeps the default instead, so Max never
// raises a voltage and never produces an index that means "absent".
void deriveModeTargets(PowerModeState& state, const BoardOptions* options = nullptr);

// The "DefaultSetting" text of a vector: its 20 mode values, each in decimal followed by ";".
std::string formatDefaultSetting(const SettingVector& targets);

// Stores the index and has the main window write CurrentValues[index] to the board.
void WriteSetting(PowerModeState& state, BoardCommands& commands, int index);
// Stores the request (a setting index, or kReadAllSettings) and has the main window read it back.
void ReadSetting(PowerModeState& state, BoardCommands& commands, int code);
// Writes, in index order, every mode setting whose target exists and differs from its current value.
void ApplyTargets(PowerModeState& state, BoardCommands& commands, const SettingVector& targets);
// Writes "DefaultSetting" of the active mode under its key.
void SaveModeSettings(const PowerModeState& state, platform::Registry& registry);

} // namespace solvane::power
