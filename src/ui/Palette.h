#pragma once

#include "ui/ColorRef.h"

#include <QString>
#include <array>
#include <string_view>

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
// The PCI page's device list: its text, a shade lighter than a field's, and the ground of its
// column headings.
inline constexpr ColorRef kListText = ColorRef::fromRgb(0xd0, 0xd6, 0xdd);
inline constexpr ColorRef kListHeadingGround = ColorRef::fromRgb(0x25, 0x2d, 0x37);
// Selected entries of lists and drop-down lists, and tool tips.
inline constexpr ColorRef kSelection = ColorRef::fromRgb(0x1f, 0x5f, 0x6c);
inline constexpr ColorRef kToolTipGround = ColorRef::fromRgb(0x26, 0x2e, 0x39);

// The colour list's sixteen colours on the dark skin: as a line's text a light shade, as its
// ground a deep shade of the same hue, so every line reads on the dark list and each colour keeps
// its meaning (the option list: blue the current value, red out of range, yellow warned, green
// the default; black on white the plain entries, which become light text on the list's field).
inline constexpr std::array<ColorRef, 16> kListTextOnDark{
    kFieldText,                          // black
    ColorRef::fromRgb(0xff, 0xff, 0xff), // white
    ColorRef::fromRgb(0xff, 0x8a, 0x80), // dark red
    kSavingGreen,                        // green
    ColorRef::fromRgb(0xd8, 0xd0, 0x6a), // olive
    ColorRef::fromRgb(0x8a, 0xb4, 0xff), // navy
    ColorRef::fromRgb(0xff, 0xd2, 0x7a), // purple: the warned entries' text, on their amber ground
    ColorRef::fromRgb(0x5f, 0xd8, 0xd8), // teal
    ColorRef::fromRgb(0xc0, 0xc0, 0xc0), // silver
    kTextDim,                            // grey
    ColorRef::fromRgb(0xff, 0x7a, 0x70), // red
    kLime,                               // lime
    ColorRef::fromRgb(0xff, 0xe0, 0x66), // yellow
    ColorRef::fromRgb(0x7c, 0xb8, 0xff), // blue
    ColorRef::fromRgb(0xff, 0x8a, 0xf0), // magenta
    ColorRef::fromRgb(0x7a, 0xf0, 0xf0), // cyan
};
inline constexpr std::array<ColorRef, 16> kListGroundOnDark{
    kInk,                                // black
    kField,                              // white: the list's own field
    ColorRef::fromRgb(0x4a, 0x16, 0x16), // dark red
    ColorRef::fromRgb(0x12, 0x3a, 0x1e), // green
    ColorRef::fromRgb(0x3a, 0x38, 0x12), // olive
    ColorRef::fromRgb(0x16, 0x22, 0x4a), // navy
    ColorRef::fromRgb(0x3e, 0x16, 0x4a), // purple
    ColorRef::fromRgb(0x12, 0x38, 0x3a), // teal
    kFaceHover,                          // silver
    kFace,                               // grey
    ColorRef::fromRgb(0x7a, 0x1c, 0x1c), // red: out of range
    ColorRef::fromRgb(0x1e, 0x46, 0x12), // lime
    ColorRef::fromRgb(0x5c, 0x42, 0x0c), // yellow: warned
    ColorRef::fromRgb(0x1a, 0x4a, 0x8c), // blue: the current value
    ColorRef::fromRgb(0x4a, 0x16, 0x44), // magenta
    ColorRef::fromRgb(0x10, 0x40, 0x48), // cyan
};

// A text colour and the ground it is drawn on.
struct TextOnGround {
    std::string_view name;
    ColorRef text;
    ColorRef ground;
};
// Every pair of text and ground the skin's windows and controls draw (disabled text aside).
inline constexpr std::array<TextOnGround, 15> kTextOnGround{{
    {"text on a page", kText, kPanel},
    {"text at the foot of a page", kText, kPanelLow},
    {"captions on a page", kTextDim, kPanelLow},
    {"captions on a field", kTextDim, kField},
    {"field text", kFieldText, kField},
    {"read-outs on a field", kAccent, kField},
    {"savings on a field", kSavingGreen, kField},
    {"messages on a page", kAmber, kPanelLow},
    {"button text", kText, kFace},
    {"button text under the mouse", kText, kFaceHover},
    {"selected entries", kText, kSelection},
    {"tool tips", kText, kToolTipGround},
    {"the window's own ground", kText, kWell},
    {"the PCI list", kListText, kTitleBar},
    {"the PCI list's column headings", kTextDim, kListHeadingGround},
}};

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white).
double contrastRatio(ColorRef first, ColorRef second);

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
// A group box that draws its caption itself, where no section-title picture covers it: bold light
// text at the picture's place inside the frame's top left corner.
inline QString captionedGroupFrameStyle(int left, int top) {
    return QStringLiteral(
               "QGroupBox { border: 1px solid %1; border-radius: 6px; } QGroupBox::title { color: %2; "
               "subcontrol-origin: padding; subcontrol-position: top left; left: %3px; top: %4px; "
               "font-weight: bold; font-size: 11px; }")
        .arg(css(kLine), css(kText))
        .arg(left)
        .arg(top);
}
inline QString dropDownStyle() {
    return QStringLiteral("QComboBox { color: %1; background: %2; border: 1px solid %3; padding: 1px 6px; }")
        .arg(css(kAccent), css(kField), css(kLine));
}

} // namespace solvane::ui::palette
