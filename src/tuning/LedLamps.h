#pragma once

#include "power/PowerSavingSession.h"
#include "tuning/LedPagePlan.h"

#include <vector>

namespace solvane::tuning {

// The active phase counts of the four domains whose LEDs the lamps mimic, as the power monitor
// measures them (0 for a domain the board lacks).
struct LedPhaseCounts {
    int cpu = 0;
    int qpi = 0; // CPU VTT
    int memory = 0;
    int ioh = 0;
};

LedPhaseCounts ledPhaseCounts(const power::PowerSavingState& state);

// A lamp and the picture it shows (a bitmap resource, tuning::lamp_image).
struct LampPicture {
    int lampId;
    int image;
};

// Every lamp drawn from the current state: the switch values, the phase counts and whether a card
// answered in the PCI slot.
std::vector<LampPicture> lampPictures(const power::SettingVector& values, const LedPhaseCounts& phases,
                                      bool pciCard);

// One blink step: the lamps of the switch whose list is open (every switch's for ALL_LED) drawn
// with the blink phase. Phase lamps beyond the domain's active count are left as they are, except
// the first CPU lamp, which always blinks.
std::vector<LampPicture> blinkPictures(int openSetting, bool phaseOn, const LedPhaseCounts& phases);

// Whether a lamp picture shows light, for the report.
constexpr bool isLit(int image) {
    return image != lamp_image::kDark && image != lamp_image::kEasyButtonOff;
}

} // namespace solvane::tuning
