#pragma once

#include "board/BoardSet.h"
#include "hw/Setting.h"

#include <array>
#include <optional>

namespace solvane::hw {

// Index limits of a voltage option list: options below lowest or at and above highest are out of
// range; [lowest, stable) is the stable range a change may take without a warning.
struct VoltageLimits {
    int lowest;
    int stable;
    int highest;

    bool isStable(int index) const { return index >= lowest && index < stable; }
};

// Limits per board group and voltage setting; the memory reference voltages 8 to 13 share one set.
struct VoltageLimitRow {
    BoardSet boards;
    Setting setting;
    VoltageLimits limits;
};

inline constexpr std::array<VoltageLimitRow, 23> kVoltageLimitRows{{
    {kSmbusRegulatorBoards, Setting::CpuVoltage, {13, 48, 68}},
    {kSmbusRegulatorBoards, Setting::VttFsbVoltage, {10, 48, 68}},
    {kSmbusRegulatorBoards, Setting::CpuPllVoltage, {10, 48, 68}},
    {kSmbusRegulatorBoards, Setting::DdrVoltage, {22, 60, 71}},
    {kSmbusRegulatorBoards, Setting::DdrVrefCaA, {10, 40, 68}},
    {kSmbusRegulatorBoards, Setting::MchVoltage, {10, 48, 68}},
    {kSmbusRegulatorBoards, Setting::IchVoltage, {10, 40, 68}},
    {{2911}, Setting::CpuVoltage, {12, 20, 30}},
    {{2911}, Setting::DdrVoltage, {22, 60, 71}},
    {{2911}, Setting::MchVoltage, {5, 40, 55}},
    {{2911}, Setting::IchVoltage, {10, 40, 68}},
    {{2903}, Setting::CpuVoltage, {24, 32, 33}},
    {{2903}, Setting::CpuPllVoltage, {-1, 3, 5}},
    {{2903}, Setting::DdrVoltage, {0, 6, 9}},
    {{2903}, Setting::DdrVrefCaA, {0, 3, 5}},
    {{2903}, Setting::MchVoltage, {0, 3, 5}},
    {{2902, 2905}, Setting::CpuVoltage, {25, 74, 75}},
    {{2902, 2905}, Setting::VttFsbVoltage, {1, 17, 18}},
    {{2902, 2905}, Setting::CpuPllVoltage, {-1, 3, 5}},
    {{2902, 2905}, Setting::DdrVoltage, {0, 9, 10}},
    {{2902, 2905}, Setting::DdrVrefCaA, {0, 9, 10}},
    {{2902, 2905}, Setting::MchVoltage, {0, 9, 10}},
    {{2902, 2905}, Setting::IchVoltage, {0, 9, 10}},
}};

// The limits of a voltage setting on a board, or none where the board sets none.
constexpr std::optional<VoltageLimits> voltageLimits(int boardCode, Setting setting) {
    // The six memory reference voltages share the limits of the first.
    if (indexOf(setting) >= indexOf(Setting::DdrVrefCaA) && indexOf(setting) <= indexOf(Setting::DdrVrefDaC))
        setting = Setting::DdrVrefCaA;
    for (const auto& row : kVoltageLimitRows)
        if (row.boards.contains(boardCode) && row.setting == setting)
            return row.limits;
    return std::nullopt;
}

} // namespace solvane::hw
