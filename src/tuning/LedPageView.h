#pragma once

#include "power/PowerSavingSession.h"
#include "tuning/LedLamps.h"
#include "tuning/LedPagePlan.h"

#include <string_view>
#include <vector>

namespace solvane::tuning {

// What the LED page shows once it is up and its captions are refreshed: each shown switch's
// ">>" caption and each shown lamp's picture. The report prints the same.
struct LedSwitchCaption {
    std::string_view key;
    std::string_view caption;
};

std::vector<LedSwitchCaption> shownLedCaptions(const LedPagePlan& plan, const power::PowerModeState& modes);
std::vector<LampPicture> shownLampPictures(const LedPagePlan& plan, const power::PowerSavingState& state,
                                           bool pciCard);

} // namespace solvane::tuning
