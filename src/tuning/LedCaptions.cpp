#include "tuning/LedCaptions.h"

#include "tuning/LedPagePlan.h"
#include "tuning/OptionListLines.h"

namespace solvane::tuning {

std::optional<std::string_view> ledCaption(int setting, const power::PowerModeState& modes) {
    if (ledSwitchOf(setting) == nullptr)
        return std::nullopt;
    const auto slot = static_cast<std::size_t>(setting);
    if (modes.DefaultTargets[slot] == power::kNotPresent)
        return std::nullopt;
    const auto value = modes.CurrentValues[slot];
    if (value < 0 || value >= static_cast<int>(kLedSwitchTexts.size()))
        return std::nullopt;
    return kLedSwitchTexts[static_cast<std::size_t>(value)];
}

} // namespace solvane::tuning
