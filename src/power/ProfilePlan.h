#pragma once

#include "power/PowerModeState.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace solvane::power {

// The system power profile each mode puts in force on a PC. Default is the machine's usual
// profile, the one in force before Solvane changed anything, so that a saving is what the PC saves
// against running without Solvane. Optimize goes one step from it toward saving; Max goes to the
// most saving profile offered. With the daemon's three profiles and "balanced" as the usual one,
// Optimize and Max both mean "power-saver": there is nothing in between.
struct ProfilePlan {
    std::string usual;
    std::string optimize;
    std::string max;

    const std::string& profileOf(PowerMode mode) const;
    // Optimize or Max would change the profile at all.
    bool savesAnything() const { return optimize != usual || max != usual; }
};

// How strongly a profile name trades speed for power, 0 for "performance"; none for a name that
// does not say ("custom").
std::optional<int> profileSaving(std::string_view profile);

// The plan for the offered profiles and the usual one. A usual profile whose name does not say
// how it saves counts as "balanced".
ProfilePlan planProfiles(std::span<const std::string> offered, const std::string& usual);

} // namespace solvane::power
