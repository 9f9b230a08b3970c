#pragma once

#include "power/PowerModeState.h"

#include <array>
#include <string_view>

namespace solvane::power {

// What the three modes are called: the word the history, the metrics and the profile stores use,
// and the title the mode buttons' tool tips, the advanced page's radios and the report show.
struct PowerModeNames {
    PowerMode mode;
    std::string_view word;
    std::string_view title;
};

inline constexpr std::array<PowerModeNames, 3> kPowerModeNames{{
    {PowerMode::Default, "Default", "Default Mode"},
    {PowerMode::Optimize, "Optimize", "Optimize Mode"},
    {PowerMode::Max, "Max", "Max Power Saving Mode"},
}};

// The names of a mode; empty for None.
constexpr PowerModeNames namesOf(PowerMode mode) {
    for (const auto& names : kPowerModeNames)
        if (names.mode == mode)
            return names;
    return {mode, {}, {}};
}

constexpr std::string_view modeWord(PowerMode mode) {
    return namesOf(mode).word;
}

constexpr std::string_view modeTitle(PowerMode mode) {
    return namesOf(mode).title;
}

} // namespace solvane::power
