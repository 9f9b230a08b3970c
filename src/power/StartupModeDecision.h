#pragma once

#include "platform/Registry.h"
#include "power/PowerModeState.h"

#include <functional>

namespace solvane::power {

// Decides the power mode at start-up from what the previous run left in the registry: a run that
// ended normally gets its mode back (Optimize and Max are applied again through applyMode); after
// an abnormal end the program starts in Default mode without touching the hardware.
// boardCode is the identified board (the missing-value default differs on 2911).
void decideStartupMode(PowerModeState& state, platform::Registry& registry, int boardCode,
                       const std::function<void(PowerMode)>& applyMode);

} // namespace solvane::power
