#pragma once

#include "ui/ColorRef.h"
#include "ui/Palette.h"

#include <QRect>

// Where the motherboard information page's controls sit on the 700 × 392 page, in page coordinates,
// and its colours. Two panels (the background "stack.bmp" draws them): board and BIOS on the left,
// processor and graphics on the right; in each, an upper group from y = 60 and a lower group from
// y = 280, rows 32 pixels apart.
namespace solvane::sysinfo::pages::motherboard_layout {

inline constexpr int kUpperTop = 60;
inline constexpr int kLowerTop = 280;
inline constexpr int kRowPitch = 32;
inline constexpr int kRowHeight = 22;

// Left panel: captions, then value fields 200 pixels wide at x = 120.
inline constexpr int kLeftCaptionX = 22;
inline constexpr int kLeftValueX = 120;
// Right panel: longer captions ("Number of Processors"), so narrower fields.
inline constexpr int kRightCaptionX = 367;
inline constexpr int kRightValueX = 500;
inline constexpr int kLeftCaptionWidth = 96;
inline constexpr int kRightCaptionWidth = 130;
inline constexpr int kLeftValueWidth = 200;
inline constexpr int kRightValueWidth = 184;
// A bridge or Super I/O row: the maker, then the chip.
inline constexpr int kVendorWidth = 66;
inline constexpr int kChipGap = 4;

// Family, Model and Stepping share the row at y = 220: a caption and a one-character field each.
inline constexpr int kSignatureTop = 220;
inline constexpr int kSignatureCaptionWidth = 64;
inline constexpr int kSignatureValueWidth = 30;
inline constexpr int kSignaturePitch = 105;

// Group boxes and their section titles.
inline constexpr QRect kMotherboardGroup{14, 26, 327, 220};
inline constexpr QRect kProcessorGroup{359, 26, 327, 220};
inline constexpr QRect kBiosGroup{14, 262, 327, 116};
inline constexpr QRect kVgaGroup{359, 262, 327, 116};
inline constexpr int kTitleInset = 10; // the title picture's left edge inside its group
inline constexpr int kTitleRaise = 9;  // and how far it reaches above the group's top line

inline constexpr int kCaptionPixels = 9;
inline constexpr int kValuePixels = 10;
// The processor's name is long ("Intel(R) Core(TM) i7 CPU 965  @ 3.20GHz"): it takes the line under
// its caption, across the panel, in a smaller plain face.
inline constexpr int kLongValuePixels = 9;
inline constexpr int kLongValueDrop = 13;
inline constexpr int kLongValueWidth = 318;

// Colours, 0x00BBGGRR like every colour of the skin.
inline constexpr ui::ColorRef kValueColour = ui::palette::kAccent;
inline constexpr ui::ColorRef kCaptionColour = ui::palette::kTextDim;
inline constexpr ui::ColorRef kGroupLine = ui::palette::kLine;

} // namespace solvane::sysinfo::pages::motherboard_layout
