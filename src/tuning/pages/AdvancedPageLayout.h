#pragma once

#include <QRect>
#include <array>
#include <string_view>

// Where the advanced motherboard page's controls sit on the 700 × 392 page, in page coordinates.
namespace solvane::tuning::pages::advanced_layout {

// The read-outs along the top: four columns of caption and value.
inline constexpr QRect kReadoutBand{12, 6, 676, 52};
inline constexpr std::array<std::string_view, 4> kReadoutCaptions{
    "Total Power Saving", "Current Power Saving", "Power Saving Percentage", "Total Power Consumption"};

// The three groups (CPU, DDR, MCH/ICH/Fan), their rows filling each from the top.
inline constexpr std::array<QRect, 3> kGroupBoxes{
    {{12, 62, 224, 262}, {244, 62, 212, 262}, {464, 62, 224, 262}}};
inline constexpr int kTitleLeft = 8;
inline constexpr int kTitleTop = 6;
inline constexpr int kFirstRowTop = 32;
inline constexpr int kRowPitch = 28;
inline constexpr int kLabelLeft = 10;
inline constexpr int kValueButtonWidth = 96;
inline constexpr int kValueButtonHeight = 20;
inline constexpr int kButtonRightMargin = 10;

// The bottom line: the mode radios on the left, the profile controls on the right.
inline constexpr int kBottomTop = 336;
inline constexpr int kRadioLeft = 12;
inline constexpr int kRadioWidth = 96;
inline constexpr int kRadioHeight = 24;
inline constexpr int kRadioGap = 6;
inline constexpr std::array<std::string_view, 3> kRadioCaptions{"Default", "Optimize", "Max Saving"};
inline constexpr QRect kNameEdit{344, 337, 150, 22};
inline constexpr QRect kCancel{500, 336, 60, 24};
inline constexpr QRect kLoad{566, 336, 58, 24};
inline constexpr QRect kSave{630, 336, 58, 24};

// The option list popup (dialog 146): its full size, which voltage lists take whole.
inline constexpr QSize kOptionListSize{120, 300};

} // namespace solvane::tuning::pages::advanced_layout
