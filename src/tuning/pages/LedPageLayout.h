#pragma once

#include <QRect>

// Where the LED page's own controls sit on the 700 × 392 page, in page coordinates. The board
// picture fills the right-hand side; its lamps, slots and picture buttons are placed from the
// board picture's sites (ui/BoardPictureLayout.h).
namespace solvane::tuning::pages::led_layout {

// The switch rows, in a group on the left, filling it from the top; the group is at most this tall.
inline constexpr QRect kGroupBox{12, 8, 278, 320};
inline constexpr int kTitleLeft = 8;
inline constexpr int kTitleTop = 6;
inline constexpr int kFirstRowTop = 36;
inline constexpr int kRowPitch = 26;
inline constexpr int kLabelLeft = 10;
inline constexpr int kValueButtonWidth = 96;
inline constexpr int kValueButtonHeight = 20;
inline constexpr int kButtonRightMargin = 10;
// Room under the last row before the group's frame closes.
inline constexpr int kFrameBottom = 8;

// The profile controls under the group.
inline constexpr QRect kNameEdit{12, 341, 96, 22};
inline constexpr QRect kCancel{112, 340, 56, 24};
inline constexpr QRect kLoad{172, 340, 56, 24};
inline constexpr QRect kSave{232, 340, 58, 24};

} // namespace solvane::tuning::pages::led_layout
