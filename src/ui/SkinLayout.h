#pragma once

#include "ui/ColorRef.h"
#include "ui/MainWindowIds.h"
#include "ui/Palette.h"

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

// The main window (dialog 102): borderless, shaped by "image.bmp".
inline constexpr Rect kMainWindow{0, 0, 750, 560};
// The frame every stacked page is placed in: the rectangle of the placeholder static. Page
// backgrounds are drawn at this size.
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
// read well in the skin's text colour.
inline constexpr ColorRef kButtonCaptionColor = palette::kText;

// The twelve skinned main-window buttons: control id, file base name of their four pictures
// ("<base>_Default.bmp", "_Down.bmp", "_Over.bmp", "_Disable.bmp"), rectangle in window
// coordinates, the caption drawn into the pictures, the look, the tool tip, and whether the mouse
// shows the hand cursor over it.
struct MainButton {
    int controlId;
    std::string_view baseName;
    Rect rect;
    std::string_view caption;
    MainButtonLook look;
    std::string_view toolTip;
    bool handCursor;
};

inline constexpr std::array<MainButton, 12> kMainButtons{{
    {main_window_ids::kSystemInfo,
     "System_Info",
     {30, 36, 93, 24},
     "System Info",
     MainButtonLook::Section,
     "System Information",
     false},
    {main_window_ids::kMotherboardInfo,
     "MB",
     {30, 61, 106, 24},
     "Motherboard",
     MainButtonLook::Page,
     "Motherboard Information",
     false},
    {main_window_ids::kMemory,
     "Memory",
     {166, 61, 74, 24},
     "Memory",
     MainButtonLook::Page,
     "Memory Information",
     false},
    {main_window_ids::kPci, "PCI", {270, 61, 42, 24}, "PCI", MainButtonLook::Page, "PCI Information", false},
    {main_window_ids::kProduct,
     "SOLVANE",
     {150, 36, 104, 24},
     "Solvane Center",
     MainButtonLook::Section,
     "Solvane Center",
     true},
    {main_window_ids::kBasic, "BASIC", {150, 61, 58, 24}, "Basic", MainButtonLook::Page, "Basic Mode", true},
    {main_window_ids::kAdvanced,
     "ADVANCE",
     {238, 61, 80, 24},
     "Advanced",
     MainButtonLook::Page,
     "Advanced Settings",
     true},
    {main_window_ids::kMotherboardSettings,
     "MB2",
     {228, 86, 102, 21},
     "Motherboard",
     MainButtonLook::SubPage,
     "Motherboard Settings",
     true},
    {main_window_ids::kLedSettings,
     "LED",
     {360, 86, 43, 21},
     "LED",
     MainButtonLook::SubPage,
     "LED Settings",
     true},
    {main_window_ids::kWebSite,
     "Tarvok",
     {324, 511, 120, 44},
     "TARVOK",
     MainButtonLook::Link,
     "Link to Tarvok",
     true},
    {main_window_ids::kMinimise, "Min", {688, 3, 28, 28}, "", MainButtonLook::Minimise, "Minimize", true},
    {main_window_ids::kExit, "EXIT", {718, 3, 24, 28}, "", MainButtonLook::Close, "Exit", true},
}};

// On KX-2906, KX-2904 and KX-2903 the PCI button takes the memory button's place and width; its
// pictures are drawn at that size rather than stretched.
inline constexpr MainButton kWidePciButton{
    main_window_ids::kPci, "PCI_Wide", {166, 61, 74, 24}, "PCI", MainButtonLook::Page,
    "PCI Information",     false};

// The four state pictures of a main-window button, in the order the skin button takes them.
inline constexpr std::array<std::string_view, 4> kMainButtonStateEndings{"_Default.bmp", "_Down.bmp",
                                                                         "_Over.bmp", "_Disable.bmp"};

} // namespace solvane::ui::skin
