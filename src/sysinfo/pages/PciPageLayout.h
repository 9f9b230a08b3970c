#pragma once

#include "ui/ColorRef.h"
#include "ui/Palette.h"

#include <QRect>

// Where the PCI page's controls sit on the 700 × 392 page, in page coordinates, and its colours.
namespace solvane::sysinfo::pages::pci_layout {

// The list view, and in the Expert view the configuration-space view in its place.
inline constexpr QRect kDeviceList{43, 40, 490, 320};
// The list's height within its place: its header and frame, and as many whole rows as fit, so the
// last row shown is never cut.
constexpr int wholeRowsHeight(int available, int chrome, int rowHeight) {
    if (rowHeight <= 0 || available <= chrome + rowHeight)
        return available;
    return chrome + (available - chrome) / rowHeight * rowHeight;
}
inline constexpr int kNameColumnWidth = 280;
inline constexpr int kNumberColumnWidth = 60;

// The header values: a caption line and a value line each, down the right of the list.
inline constexpr int kHeaderLeft = 548;
inline constexpr int kHeaderWidth = 140;
inline constexpr int kHeaderTop = 40;
inline constexpr int kHeaderPitch = 35;
inline constexpr int kHeaderCaptionHeight = 15;
inline constexpr int kHeaderValueHeight = 18;

// The configuration-space view.
inline constexpr QRect kDeviceDropDown{43, 40, 250, 24};
inline constexpr QRect kWidthBoxes{300, 40, 233, 24}; // BYTE, WORD, DWORD side by side
inline constexpr int kEntriesTop = 70;
inline constexpr int kEntryWidth = 30;
inline constexpr int kEntryHeight = 22;
inline constexpr int kEntryCaptionWidth = 48;
inline constexpr QRect kApply{400, 70, 70, 22};
inline constexpr int kHexLeft = 43;
inline constexpr int kHexTextLeft = 73; // after the row heading
inline constexpr int kHexHeadingTop = 100;
inline constexpr int kHexRowTop = 116;
inline constexpr int kHexMinimumRowPitch = 14; // or the font's line spacing, if larger
inline constexpr int kHexTextWidth = 460;
inline constexpr QRect kNoFunctionNote{43, 362, 490, 18};

inline constexpr int kHexFontPixels = 12;

// Colours, 0x00BBGGRR like every colour of the skin.
inline constexpr ui::ColorRef kValueColour = ui::palette::kAccent;
inline constexpr ui::ColorRef kCaptionColour = ui::palette::kTextDim;
inline constexpr ui::ColorRef kHeadingColour = ui::palette::kTextOff;   // dimmer: the hex view's headings
inline constexpr ui::ColorRef kNoteColour = ui::palette::kAmber;        // warnings
inline constexpr ui::ColorRef kListBackground = ui::palette::kTitleBar; // the list view and the drop-down
inline constexpr ui::ColorRef kListText = ui::palette::kListText;
inline constexpr ui::ColorRef kListHeading = ui::palette::kListHeadingGround; // the list's column headings
inline constexpr ui::ColorRef kSelectedText = ui::palette::kTitleBar;         // on the accent

} // namespace solvane::sysinfo::pages::pci_layout
