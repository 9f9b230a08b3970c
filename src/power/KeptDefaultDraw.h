#pragma once

#include "power/SavingEstimate.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::power {

// Default's learned draw, kept across runs beside the saving totals, so that a run started in a
// saving mode knows what Default draws. A text value: whose table it is (the board code; an
// ordinary PC's key, see ThisPcDefaultDraw), then one entry per load, each followed by ";":
// "2917;5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6;" is the load bin, the four parts' watts, the
// CPU's watts, core volts, clock share and running phases ("-" where not measured).
inline constexpr std::string_view kDefaultDrawValue = "defaultModeDraw";

// `owner` holds no ";".
std::string keptDefaultDrawText(std::string_view owner,
                                const std::vector<SavingEstimate::DefaultEntry>& entries);
// The entries of a kept value; empty when the text is malformed or was kept for another owner.
std::optional<std::vector<SavingEstimate::DefaultEntry>> parseKeptDefaultDraw(std::string_view text,
                                                                              std::string_view owner);

// A board's table, owned by its code.
std::string keptDefaultDrawText(int boardCode, const std::vector<SavingEstimate::DefaultEntry>& entries);
std::optional<std::vector<SavingEstimate::DefaultEntry>> parseKeptDefaultDraw(std::string_view text,
                                                                              int boardCode);

} // namespace solvane::power
