#include "tuning/LedPageView.h"

#include "tuning/LedCaptions.h"
#include "tuning/OptionListLines.h"

#include <algorithm>

namespace solvane::tuning {

std::vector<LedSwitchCaption> shownLedCaptions(const LedPagePlan& plan, const power::PowerModeState& modes) {
    std::vector<LedSwitchCaption> captions;
    for (const auto& led : kLedSwitches)
        if (plan.of(led.setting).shown)
            captions.push_back({led.key, ledCaption(led.setting, modes).value_or(kValueButtonText)});
    return captions;
}

std::vector<LampPicture> shownLampPictures(const LedPagePlan& plan, const power::PowerSavingState& state,
                                           bool pciCard) {
    auto pictures = lampPictures(state.modes.CurrentValues, ledPhaseCounts(state), pciCard);
    std::erase_if(pictures, [&plan](const LampPicture& lamp) { return !plan.lampShown(lamp.lampId); });
    return pictures;
}

} // namespace solvane::tuning
