#include "power/ProfilePlan.h"

#include <algorithm>
#include <array>

namespace solvane::power {

namespace {

// The profile names of the system's profile daemon and of the firmware's profile file, with how
// strongly each trades speed for power (0 the least). The daemon's "power-saver" and the firmware's
// "low-power" are both the most saving a machine offers; "cool" and "quiet" hold the processor back
// for temperature and noise, which also saves power, less than "low-power".
struct ProfileSaving {
    std::string_view name;
    int saving;
};

constexpr std::array<ProfileSaving, 7> kProfileSavings{{
    {"performance", 0},
    {"balanced-performance", 1},
    {"balanced", 2},
    {"cool", 3},
    {"quiet", 4},
    {"low-power", 5},
    {"power-saver", 5},
}};

constexpr int kBalancedSaving = 2;

} // namespace

const std::string& ProfilePlan::profileOf(PowerMode mode) const {
    switch (mode) {
    case PowerMode::Optimize:
        return optimize;
    case PowerMode::Max:
        return max;
    case PowerMode::Default:
    case PowerMode::None:
        break;
    }
    return usual;
}

std::optional<int> profileSaving(std::string_view profile) {
    const auto found = std::ranges::find(kProfileSavings, profile, &ProfileSaving::name);
    if (found == kProfileSavings.end())
        return std::nullopt;
    return found->saving;
}

ProfilePlan planProfiles(std::span<const std::string> offered, const std::string& usual) {
    ProfilePlan plan{usual, usual, usual};
    const int usualSaving = profileSaving(usual).value_or(kBalancedSaving);
    std::optional<int> stepSaving;
    std::optional<int> mostSaving;
    for (const auto& profile : offered) {
        const auto saving = profileSaving(profile);
        if (!saving || *saving <= usualSaving)
            continue;
        if (!stepSaving || *saving < *stepSaving) {
            stepSaving = saving;
            plan.optimize = profile;
        }
        if (!mostSaving || *saving > *mostSaving) {
            mostSaving = saving;
            plan.max = profile;
        }
    }
    return plan;
}

} // namespace solvane::power
