#pragma once

#include <array>
#include <optional>

namespace solvane::power {

// Efficiency of an ordinary (single-mode) regulator of the board's class, in percent, by load
// step: index n is the step of (CPU current - 50) / 100. Entry 0 is 100 and never used, because
// the step is at least 1. The savings accounting compares the CPU power with what such a regulator
// would draw.
inline constexpr std::size_t kEfficiencyCurveSize = 111;
using EfficiencyCurve = std::array<double, kEfficiencyCurveSize>;

// The board's curve; empty for boards that have none (their CPU part of the saving is not counted).
const EfficiencyCurve* efficiencyCurveFor(int boardCode);

// Bounds a load step to the curve: at least 1, at most the last entry.
std::size_t boundedLoadStep(long long step);

} // namespace solvane::power
