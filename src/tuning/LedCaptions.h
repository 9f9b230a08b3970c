#pragma once

#include "power/PowerModeState.h"

#include <optional>
#include <string_view>

namespace solvane::tuning {

// The caption an LED switch's ">>" button (setting 20 to 30) shows for its current value, or none
// where the caption stays as it is: a switch the board lacks, or a value that is neither 0 nor 1.
std::optional<std::string_view> ledCaption(int setting, const power::PowerModeState& modes);

} // namespace solvane::tuning
