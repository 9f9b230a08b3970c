#pragma once

#include "ui/ColorRef.h"

#include <string_view>

namespace solvane::ui::palette {

// The colours the pages draw their controls in, over the dark page background (0x00BBGGRR).
inline constexpr ColorRef kAccent{0xDCC42E};      // values read from the hardware
inline constexpr ColorRef kSavingGreen{0x6FD649}; // totals and figures that sum up a page
// Captions on the LED page's picture buttons, dark on their light plates: the phase and slot LEDs
// in blue, the power and Easy Button LEDs in green.
inline constexpr ColorRef kPictureCaptionBlue{0x8B2A10};
inline constexpr ColorRef kPictureCaptionGreen{0x1E6E14};
// Style sheets of the plain Qt controls a page holds: captions, group frames and drop-down lists.
inline constexpr std::string_view kCaptionStyle = "color: #8d99a7; font-size: 11px;";
// A group box whose caption a section-title picture shows: the frame, and the caption's text unseen.
inline constexpr std::string_view kTitledGroupFrameStyle =
    "QGroupBox { border: 1px solid #333d49; border-radius: 6px; } QGroupBox::title { color: transparent; }";
inline constexpr std::string_view kDropDownStyle =
    "QComboBox { color: #2ec4dc; background: #1b222b; border: 1px solid #333d49; padding: 1px 6px; }";

} // namespace solvane::ui::palette
