#include "tuning/LedPagePlan.h"

#include "board/BoardTraits.h"
#include "hw/Setting.h"

#include <algorithm>

namespace solvane::tuning {

namespace {

// Label texts a board gives a switch instead of the dialog's.
struct LabelChange {
    int board;
    int setting;
    std::string_view text;
};
constexpr std::array<LabelChange, 1> kLabelChanges{
    {{2911, hw::indexOf(hw::Setting::MchPhaseLed), "NB Phase LED"}}};

// Picture buttons that take other pictures on some boards: the PCI slot spot of 2915, the
// northbridge spot of the AMD boards.
constexpr PictureImages kPciSlotPictures2915{314, 313, 312};
constexpr PictureImages kNorthbridgePicturesAmd{332, 329, 330};
constexpr std::string_view kNorthbridgeCaptionAmd = "NB TRYPH";

constexpr int kMemoryLamp3 = lamp::kMemory[2];
constexpr int kCpuPhaseLed = hw::indexOf(hw::Setting::CpuPhaseLed);
constexpr int kMchPhaseLed = hw::indexOf(hw::Setting::MchPhaseLed);
constexpr int kPciSlotLed = hw::indexOf(hw::Setting::PciSlotLed);

PictureImages picturesOf(const LedSwitch& led, int boardCode, std::string_view cpuVendor) {
    if (led.setting == kPciSlotLed && board::traitsOf(boardCode).ownPciSlotPictures)
        return kPciSlotPictures2915;
    if (led.setting == kMchPhaseLed && cpuVendor == "AMD")
        return kNorthbridgePicturesAmd;
    return led.pictures;
}

} // namespace

const LedSwitch* ledSwitchOf(int setting) {
    const auto found = std::find_if(kLedSwitches.begin(), kLedSwitches.end(),
                                    [setting](const LedSwitch& led) { return led.setting == setting; });
    return found == kLedSwitches.end() ? nullptr : &*found;
}

bool LedPagePlan::lampShown(int lampId) const {
    const auto shown = shownLamps();
    return std::find(shown.begin(), shown.end(), lampId) != shown.end();
}

LedPagePlan ledPagePlan(int boardCode, std::string_view biosVersion, std::string_view cpuVendor) {
    static constexpr LedBoardLayout kAnyOther{.boards = {}, .shown = kDialogSwitches, .cpuLamps = 6};
    const auto found =
        std::find_if(kLedBoardLayouts.begin(), kLedBoardLayouts.end(),
                     [boardCode](const auto& layout) { return layout.boards.contains(boardCode); });
    const auto& layout = found == kLedBoardLayouts.end() ? kAnyOther : *found;
    auto shown = layout.shown;
    if (board::traitsOf(boardCode).v7BiosDropsPhaseLeds &&
        biosVersion.find(kBiosWithoutPhaseLeds) != std::string_view::npos)
        shown = shown.without(kSwitchesGoneWithV7);

    LedPagePlan plan;
    for (const auto& led : kLedSwitches) {
        auto& switchPlan = plan.switches[static_cast<std::size_t>(led.setting - kFirstLedSetting)];
        switchPlan.shown = shown.contains(led.setting);
        switchPlan.label = led.label;
        for (const auto& change : kLabelChanges)
            if (change.board == boardCode && change.setting == led.setting)
                switchPlan.label = change.text;
        switchPlan.pictureShown = switchPlan.shown && layout.pictureButtons && led.pictureId != 0;
        switchPlan.pictures = picturesOf(led, boardCode, cpuVendor);
        switchPlan.pictureCaption =
            led.setting == kMchPhaseLed && cpuVendor == "AMD" ? kNorthbridgeCaptionAmd : led.pictureCaption;
        if (!switchPlan.pictureShown)
            continue;
        for (std::size_t k = 0; k < led.lamps.size(); ++k) {
            const int lampId = led.lamps[k];
            if (led.setting == kCpuPhaseLed && static_cast<int>(k) >= layout.cpuLamps)
                break;
            if (lampId == kMemoryLamp3 && !layout.memoryLamp3)
                continue;
            plan.lamps[plan.lampCount++] = lampId;
        }
    }
    for (std::size_t i = 0; i < kSlotPictures.size(); ++i)
        plan.slotsShown[i] = std::find(layout.hiddenSlots.begin(), layout.hiddenSlots.end(),
                                       kSlotPictures[i]) == layout.hiddenSlots.end();
    plan.groupPictureShown = !layout.groupPictureHidden;
    plan.picture = layout.picture;
    return plan;
}

} // namespace solvane::tuning
