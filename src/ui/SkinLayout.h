#pragma once

#include "ui/ColorRef.h"

#include <array>
#include <string_view>

// Where the skin pictures sit: the main window's own geometry, shared by the window that shows
// the pictures and by tools/skingen that draws them, so that buttons and background line up.
namespace solvane::ui::skin {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return x + width; }
    constexpr int bottom() const { return y + height; }
};

// The skin's accent: link texts, and the link button under the mouse.
inline constexpr ColorRef kLinkColor = ColorRef::fromRgb(0x2e, 0xc4, 0xdc);

// The main window (dialog 102): borderless, shaped by "image.bmp".
inline constexpr Rect kMainWindow{0, 0, 750, 560};
// The frame every stacked page is placed in: the rectangle of the placeholder static 1005. Page
// backgrounds are drawn at this size.
inline constexpr int kPagePlaceholderId = 1005;
inline constexpr Rect kPageFrame{25, 112, 700, 392};

// How a main-window button is drawn.
enum class MainButtonLook {
    Section,  // first row: the two groups of pages
    Page,     // second row: a page of the group
    SubPage,  // third row: the advanced pages
    Link,     // the maker's web-site link at the bottom
    Minimise, // window buttons at the top right
    Close,
};

// Captions that buttons draw over their skin pictures (the ">>", profile and picture buttons)
// read well in this colour, 0x00BBGGRR.
inline constexpr unsigned kButtonCaptionColor = 0xEBE3DB;

// The twelve skinned main-window buttons: control id, file base name of their four pictures
// ("<base>_Default.bmp", "_Down.bmp", "_Over.bmp", "_Disable.bmp"), rectangle in window
// coordinates, the caption drawn into the pictures, and the look.
struct MainButton {
    int controlId;
    std::string_view baseName;
    Rect rect;
    std::string_view caption;
    MainButtonLook look;
};

inline constexpr std::array<MainButton, 12> kMainButtons{{
    {1001, "System_Info", {30, 36, 93, 24}, "System Info", MainButtonLook::Section},
    {1037, "MB", {30, 61, 106, 24}, "Motherboard", MainButtonLook::Page},
    {1026, "Memory", {166, 61, 74, 24}, "Memory", MainButtonLook::Page},
    {1027, "PCI", {270, 61, 42, 24}, "PCI", MainButtonLook::Page},
    {1002, "SOLVANE", {150, 36, 104, 24}, "Solvane Center", MainButtonLook::Section},
    {1029, "BASIC", {150, 61, 58, 24}, "Basic", MainButtonLook::Page},
    {1030, "ADVANCE", {238, 61, 80, 24}, "Advanced", MainButtonLook::Page},
    {1033, "MB2", {228, 86, 102, 21}, "Motherboard", MainButtonLook::SubPage},
    {1038, "LED", {360, 86, 43, 21}, "LED", MainButtonLook::SubPage},
    {1083, "Tarvok", {324, 511, 120, 44}, "TARVOK", MainButtonLook::Link},
    {1085, "Min", {688, 3, 28, 28}, "", MainButtonLook::Minimise},
    {1084, "EXIT", {718, 3, 24, 28}, "", MainButtonLook::Close},
}};

// On KX-2906, KX-2904 and KX-2903 the PCI button takes the memory button's place and width; its
// pictures are drawn at that size rather than stretched.
inline constexpr MainButton kWidePciButton{1027, "PCI_Wide", {166, 61, 74, 24}, "PCI", MainButtonLook::Page};

// The four state pictures of a main-window button, in the order the skin button takes them.
inline constexpr std::array<std::string_view, 4> kMainButtonStateEndings{"_Default.bmp", "_Down.bmp",
                                                                         "_Over.bmp", "_Disable.bmp"};

} // namespace solvane::ui::skin
