#pragma once

#include "ui/ColorRef.h"

#include <QString>

// The skin's colours: a dark slate base, one cyan accent, greens for power saving, light grey text.
// The windows and pages draw with them, and tools/skingen paints the skin pictures with them, so
// controls and pictures match.
namespace solvane::ui::palette {

inline constexpr ColorRef kInk = ColorRef::fromRgb(0x10, 0x14, 0x19);        // deepest background
inline constexpr ColorRef kWell = ColorRef::fromRgb(0x14, 0x19, 0x20);       // a window's own background
inline constexpr ColorRef kBand = ColorRef::fromRgb(0x15, 0x1a, 0x21);       // band behind the page buttons
inline constexpr ColorRef kTitleBar = ColorRef::fromRgb(0x1b, 0x21, 0x29);   // title strip and footer
inline constexpr ColorRef kPanel = ColorRef::fromRgb(0x1a, 0x20, 0x28);      // page background, top
inline constexpr ColorRef kPanelLow = ColorRef::fromRgb(0x13, 0x18, 0x1e);   // page background, bottom
inline constexpr ColorRef kField = ColorRef::fromRgb(0x1b, 0x22, 0x2b);      // edit, list and button fields
inline constexpr ColorRef kFace = ColorRef::fromRgb(0x23, 0x2a, 0x34);       // button face
inline constexpr ColorRef kFaceHover = ColorRef::fromRgb(0x2c, 0x35, 0x41);  // button face under the mouse
inline constexpr ColorRef kFaceDown = ColorRef::fromRgb(0x16, 0x1b, 0x22);   // button face while pressed
inline constexpr ColorRef kFaceOff = ColorRef::fromRgb(0x1a, 0x1f, 0x26);    // disabled button face
inline constexpr ColorRef kLine = ColorRef::fromRgb(0x33, 0x3d, 0x49);       // borders
inline constexpr ColorRef kLineBright = ColorRef::fromRgb(0x4d, 0x5b, 0x6c); // borders under the mouse
inline constexpr ColorRef kText = ColorRef::fromRgb(0xdb, 0xe3, 0xeb);
inline constexpr ColorRef kFieldText = ColorRef::fromRgb(0xc9, 0xd1, 0xd9);
inline constexpr ColorRef kTextDim = ColorRef::fromRgb(0x8d, 0x99, 0xa7);
inline constexpr ColorRef kTextOff = ColorRef::fromRgb(0x5a, 0x64, 0x70);
// Values read from the hardware, links, and the link button under the mouse.
inline constexpr ColorRef kAccent = ColorRef::fromRgb(0x2e, 0xc4, 0xdc);
inline constexpr ColorRef kAccentDeep = ColorRef::fromRgb(0x14, 0x3f, 0x48);
// Totals and figures that sum up a page.
inline constexpr ColorRef kSavingGreen = ColorRef::fromRgb(0x49, 0xd6, 0x6f);
inline constexpr ColorRef kLime = ColorRef::fromRgb(0xa3, 0xe6, 0x35);
inline constexpr ColorRef kAmber = ColorRef::fromRgb(0xf0, 0xa9, 0x2c); // messages
inline constexpr ColorRef kAlert = ColorRef::fromRgb(0xff, 0x5a, 0x4f);
inline constexpr ColorRef kBlue = ColorRef::fromRgb(0x4a, 0xa8, 0xff);
// The board picture.
inline constexpr ColorRef kPcb = ColorRef::fromRgb(0x11, 0x2c, 0x24);
inline constexpr ColorRef kPcbTrace = ColorRef::fromRgb(0x18, 0x3d, 0x31);
inline constexpr ColorRef kSilk = ColorRef::fromRgb(0xc4, 0xd2, 0xca);
inline constexpr ColorRef kMetal = ColorRef::fromRgb(0x8e, 0x98, 0xa2);
// Captions on the LED page's picture buttons, dark on their light plates: the phase and slot LEDs
// in blue, the power and Easy Button LEDs in green.
inline constexpr ColorRef kPictureCaptionBlue = ColorRef::fromRgb(0x10, 0x2a, 0x8b);
inline constexpr ColorRef kPictureCaptionGreen = ColorRef::fromRgb(0x14, 0x6e, 0x1e);
// Outside the main window's shape: the colour its background picture leaves transparent.
inline constexpr ColorRef kOutside = ColorRef::fromRgb(0xff, 0x00, 0x00);

// A colour as a style sheet spells it: "#rrggbb".
inline QString css(ColorRef color) {
    return color.toQColor().name();
}

// Style sheets of the plain Qt controls a page holds: captions, group frames and drop-down lists.
inline QString captionStyle() {
    return QStringLiteral("color: %1; font-size: 11px;").arg(css(kTextDim));
}
// A group box whose caption a section-title picture shows: the frame, and the caption's text unseen.
inline QString titledGroupFrameStyle() {
    return QStringLiteral("QGroupBox { border: 1px solid %1; border-radius: 6px; } QGroupBox::title { color: "
                          "transparent; }")
        .arg(css(kLine));
}
inline QString dropDownStyle() {
    return QStringLiteral("QComboBox { color: %1; background: %2; border: 1px solid %3; padding: 1px 6px; }")
        .arg(css(kAccent), css(kField), css(kLine));
}

} // namespace solvane::ui::palette
