#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

// Every skin picture the program loads by number, with the file it is kept in beside the program.
// tools/skingen draws each entry at its size; the controls load them through SkinResources.
namespace solvane::ui::skin {

// What a picture shows; each kind has one drawing routine in tools/skingen.
enum class Art {
    PageBackground,   // background of the stacked pages
    StackBackground,  // background of the motherboard information page ("stack.bmp")
    BoardPicture,     // the LED page's board ("MotherBoard.bmp", "MotherBoard3.bmp")
    WindowBackground, // the main window ("image.bmp"), pure red outside its shape
    ModeButton,       // the three power-mode buttons of the basic page
    Lamp,             // LED lamps on the board picture
    EasyButton,       // the board's power button lamp
    Slot,             // expansion slot pictures
    PictureButton,    // clickable spots on the board picture (caption drawn by the button)
    SectionTitle,     // heading pictures over the group boxes
    ValueButton,      // the ">>" buttons of the tuning pages (caption drawn by the button)
    PlainButton,      // profile and mode buttons of the tuning pages (caption drawn by the button)
};

// The state a button picture stands for, in the order the skin button takes its pictures.
enum class State { Normal, Pressed, Hover, Disabled };

// Art-specific choice: the lamp colour, the slot kind, the picture's board, the mode.
enum class Variant {
    None,
    LampGreen,
    LampDark,
    LampBlue,
    LampAmber,
    SlotPcieX16,
    SlotPcieX1,
    SlotPci,
    BoardFull,  // the large board with every LED
    BoardSmall, // the small board of KX-2904 and KX-2901
    ModeDefault,
    ModeOptimize,
    ModeMax,
};

// One picture: resource number (0 for pictures loaded by file name only), file name in the
// program's folder, size in pixels, what it shows, the button state it stands for, the text drawn
// into it (empty for none) and the art-specific variant.
struct Bitmap {
    int resourceId;
    std::string_view file;
    int width;
    int height;
    Art art;
    State state = State::Normal;
    std::string_view text = {};
    Variant variant = Variant::None;
};

// Bitmap resource numbers the pages use.
inline constexpr int kPageBackgroundId = 148;
inline constexpr int kLampLitId = 255;
inline constexpr int kLampDarkId = 256;
inline constexpr int kLampPowerLitId = 251;
inline constexpr int kLampStandbyBlinkId = 307;
inline constexpr int kEasyButtonOnId = 258;
inline constexpr int kEasyButtonOffId = 259;
inline constexpr int kSlotPcieX16Id = 309;
inline constexpr int kSlotPcieX1Id = 310;
inline constexpr int kSlotPciId = 311;
// Pictures whose numbers the dialogs of the product leave open; numbered here from 401 on, clear
// of every documented resource.
inline constexpr int kTitleMotherboardId = 401;
inline constexpr int kTitleProcessorId = 402;
inline constexpr int kTitleBiosId = 403;
inline constexpr int kTitleVgaId = 404;
inline constexpr int kTitleSpdId = 405;
inline constexpr int kTitleTimingsId = 406;
inline constexpr int kTitleCpuId = 407;
inline constexpr int kTitleDdrId = 408;
inline constexpr int kTitleMchIchFanId = 409;
inline constexpr int kTitleLedId = 410;
inline constexpr std::array<int, 4> kValueButtonIds{420, 421, 422, 423}; // normal, pressed, hover, disabled
inline constexpr std::array<int, 4> kPlainButtonIds{424, 425, 426, 427};

// Files the program loads by name.
inline constexpr std::string_view kWindowBackgroundFile = "image.bmp";
inline constexpr std::string_view kBoardPictureFile = "MotherBoard.bmp";
inline constexpr std::string_view kSmallBoardPictureFile = "MotherBoard3.bmp";
inline constexpr std::string_view kStackBackgroundFile = "stack.bmp";
// The application icon, icon resource 128.
inline constexpr int kAppIconId = 128;
inline constexpr std::string_view kAppIconFile = "Solvane.ico";
// The hand cursor over links and navigation buttons, cursor resource 141.
inline constexpr int kHandCursorId = 141;

inline constexpr int kModeWidth = 196;
inline constexpr int kModeHeight = 44;
inline constexpr int kSpotHeight = 18;

inline constexpr auto kBitmaps = std::to_array<Bitmap>({
    {kPageBackgroundId, "Page_Background.bmp", 700, 392, Art::PageBackground},
    {0, kStackBackgroundFile, 700, 392, Art::StackBackground},
    {0, kBoardPictureFile, 700, 392, Art::BoardPicture, State::Normal, {}, Variant::BoardFull},
    {0, kSmallBoardPictureFile, 700, 392, Art::BoardPicture, State::Normal, {}, Variant::BoardSmall},
    {0, kWindowBackgroundFile, 750, 560, Art::WindowBackground},

    // Mode buttons of the basic page: normal, pressed (also the checked look), hover, disabled.
    {168, "Mode_Default_Default.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Normal, "Default Mode",
     Variant::ModeDefault},
    {170, "Mode_Default_Down.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Pressed, "Default Mode",
     Variant::ModeDefault},
    {171, "Mode_Default_Over.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Hover, "Default Mode",
     Variant::ModeDefault},
    {169, "Mode_Default_Disable.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Disabled,
     "Default Mode", Variant::ModeDefault},
    {176, "Mode_Optimize_Default.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Normal,
     "Optimize Mode", Variant::ModeOptimize},
    {166, "Mode_Optimize_Down.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Pressed, "Optimize Mode",
     Variant::ModeOptimize},
    {167, "Mode_Optimize_Over.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Hover, "Optimize Mode",
     Variant::ModeOptimize},
    {178, "Mode_Optimize_Disable.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Disabled,
     "Optimize Mode", Variant::ModeOptimize},
    {172, "Mode_Max_Default.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Normal, "Max Power Saving",
     Variant::ModeMax},
    {174, "Mode_Max_Down.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Pressed, "Max Power Saving",
     Variant::ModeMax},
    {175, "Mode_Max_Over.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Hover, "Max Power Saving",
     Variant::ModeMax},
    {173, "Mode_Max_Disable.bmp", kModeWidth, kModeHeight, Art::ModeButton, State::Disabled,
     "Max Power Saving", Variant::ModeMax},

    // Lamps of the LED page.
    {kLampLitId, "Lamp_Lit.bmp", 10, 10, Art::Lamp, State::Normal, {}, Variant::LampGreen},
    {kLampDarkId, "Lamp_Dark.bmp", 10, 10, Art::Lamp, State::Normal, {}, Variant::LampDark},
    {kLampPowerLitId, "Lamp_Power.bmp", 10, 10, Art::Lamp, State::Normal, {}, Variant::LampBlue},
    {kLampStandbyBlinkId, "Lamp_Standby.bmp", 10, 10, Art::Lamp, State::Normal, {}, Variant::LampAmber},
    {kEasyButtonOnId, "EasyButton_On.bmp", 18, 18, Art::EasyButton, State::Normal, {}, Variant::LampBlue},
    {kEasyButtonOffId, "EasyButton_Off.bmp", 18, 18, Art::EasyButton, State::Normal, {}, Variant::LampDark},

    // Expansion slots on the board picture.
    {kSlotPcieX16Id, "Slot_PCIE_x16.bmp", 172, 12, Art::Slot, State::Normal, {}, Variant::SlotPcieX16},
    {kSlotPcieX1Id, "Slot_PCIE_x1.bmp", 48, 12, Art::Slot, State::Normal, {}, Variant::SlotPcieX1},
    {kSlotPciId, "Slot_PCI.bmp", 150, 12, Art::Slot, State::Normal, {}, Variant::SlotPci},

    // Picture buttons of the LED page: normal, pressed, hover for each spot.
    {279, "Spot_CPU_Default.bmp", 84, kSpotHeight, Art::PictureButton, State::Normal},
    {282, "Spot_CPU_Down.bmp", 84, kSpotHeight, Art::PictureButton, State::Pressed},
    {281, "Spot_CPU_Over.bmp", 84, kSpotHeight, Art::PictureButton, State::Hover},
    {302, "Spot_QPI_Default.bmp", 76, kSpotHeight, Art::PictureButton, State::Normal},
    {303, "Spot_QPI_Down.bmp", 76, kSpotHeight, Art::PictureButton, State::Pressed},
    {301, "Spot_QPI_Over.bmp", 76, kSpotHeight, Art::PictureButton, State::Hover},
    {284, "Spot_Memory_Default.bmp", 96, kSpotHeight, Art::PictureButton, State::Normal},
    {285, "Spot_Memory_Down.bmp", 96, kSpotHeight, Art::PictureButton, State::Pressed},
    {283, "Spot_Memory_Over.bmp", 96, kSpotHeight, Art::PictureButton, State::Hover},
    {288, "Spot_EasyButton_Default.bmp", 84, kSpotHeight, Art::PictureButton, State::Normal},
    {289, "Spot_EasyButton_Down.bmp", 84, kSpotHeight, Art::PictureButton, State::Pressed},
    {290, "Spot_EasyButton_Over.bmp", 84, kSpotHeight, Art::PictureButton, State::Hover},
    {292, "Spot_Power_Default.bmp", 84, kSpotHeight, Art::PictureButton, State::Normal},
    {293, "Spot_Power_Down.bmp", 84, kSpotHeight, Art::PictureButton, State::Pressed},
    {291, "Spot_Power_Over.bmp", 84, kSpotHeight, Art::PictureButton, State::Hover},
    {322, "Spot_LoadLine_Default.bmp", 84, kSpotHeight, Art::PictureButton, State::Normal},
    {320, "Spot_LoadLine_Down.bmp", 84, kSpotHeight, Art::PictureButton, State::Pressed},
    {321, "Spot_LoadLine_Over.bmp", 84, kSpotHeight, Art::PictureButton, State::Hover},
    {296, "Spot_PCI_Default.bmp", 64, kSpotHeight, Art::PictureButton, State::Normal},
    {294, "Spot_PCI_Down.bmp", 64, kSpotHeight, Art::PictureButton, State::Pressed},
    {295, "Spot_PCI_Over.bmp", 64, kSpotHeight, Art::PictureButton, State::Hover},
    {314, "Spot_PCI2_Default.bmp", 84, kSpotHeight, Art::PictureButton, State::Normal},
    {313, "Spot_PCI2_Down.bmp", 84, kSpotHeight, Art::PictureButton, State::Pressed},
    {312, "Spot_PCI2_Over.bmp", 84, kSpotHeight, Art::PictureButton, State::Hover},
    {305, "Spot_PCIE_Default.bmp", 64, kSpotHeight, Art::PictureButton, State::Normal},
    {306, "Spot_PCIE_Down.bmp", 64, kSpotHeight, Art::PictureButton, State::Pressed},
    {304, "Spot_PCIE_Over.bmp", 64, kSpotHeight, Art::PictureButton, State::Hover},
    {299, "Spot_IOH_Default.bmp", 76, kSpotHeight, Art::PictureButton, State::Normal},
    {300, "Spot_IOH_Down.bmp", 76, kSpotHeight, Art::PictureButton, State::Pressed},
    {298, "Spot_IOH_Over.bmp", 76, kSpotHeight, Art::PictureButton, State::Hover},
    {332, "Spot_NB_Default.bmp", 76, kSpotHeight, Art::PictureButton, State::Normal},
    {329, "Spot_NB_Down.bmp", 76, kSpotHeight, Art::PictureButton, State::Pressed},
    {330, "Spot_NB_Over.bmp", 76, kSpotHeight, Art::PictureButton, State::Hover},
    {318, "Spot_HD_Default.bmp", 64, kSpotHeight, Art::PictureButton, State::Normal},
    {316, "Spot_HD_Down.bmp", 64, kSpotHeight, Art::PictureButton, State::Pressed},
    {317, "Spot_HD_Over.bmp", 64, kSpotHeight, Art::PictureButton, State::Hover},

    // Section titles over the group boxes.
    {267, "Title_Basic_CPU.bmp", 150, 18, Art::SectionTitle, State::Normal, "CPU"},
    {272, "Title_Basic_DDR_MCH.bmp", 150, 18, Art::SectionTitle, State::Normal, "DDR / MCH"},
    {273, "Title_Basic_ICH_SysCard.bmp", 150, 18, Art::SectionTitle, State::Normal, "ICH / SysCard"},
    {kTitleMotherboardId, "Title_Motherboard.bmp", 110, 18, Art::SectionTitle, State::Normal, "Motherboard"},
    {kTitleProcessorId, "Title_Processor.bmp", 110, 18, Art::SectionTitle, State::Normal, "Processor"},
    {kTitleBiosId, "Title_BIOS.bmp", 110, 18, Art::SectionTitle, State::Normal, "BIOS"},
    {kTitleVgaId, "Title_VGA.bmp", 110, 18, Art::SectionTitle, State::Normal, "VGA"},
    {kTitleSpdId, "Title_SPD.bmp", 34, 18, Art::SectionTitle, State::Normal, "SPD"},
    {kTitleTimingsId, "Title_Timings.bmp", 85, 18, Art::SectionTitle, State::Normal, "Timings Table"},
    {kTitleCpuId, "Title_CPU.bmp", 110, 18, Art::SectionTitle, State::Normal, "CPU"},
    {kTitleDdrId, "Title_DDR.bmp", 110, 18, Art::SectionTitle, State::Normal, "DDR"},
    {kTitleMchIchFanId, "Title_MCH_ICH_Fan.bmp", 110, 18, Art::SectionTitle, State::Normal, "MCH/ICH/Fan"},
    {kTitleLedId, "Title_LED.bmp", 110, 18, Art::SectionTitle, State::Normal, "LED"},

    // Buttons of the tuning pages, whose captions the pages set.
    {kValueButtonIds[0], "Value_Default.bmp", 96, 20, Art::ValueButton, State::Normal},
    {kValueButtonIds[1], "Value_Down.bmp", 96, 20, Art::ValueButton, State::Pressed},
    {kValueButtonIds[2], "Value_Over.bmp", 96, 20, Art::ValueButton, State::Hover},
    {kValueButtonIds[3], "Value_Disable.bmp", 96, 20, Art::ValueButton, State::Disabled},
    {kPlainButtonIds[0], "Button_Default.bmp", 80, 22, Art::PlainButton, State::Normal},
    {kPlainButtonIds[1], "Button_Down.bmp", 80, 22, Art::PlainButton, State::Pressed},
    {kPlainButtonIds[2], "Button_Over.bmp", 80, 22, Art::PlainButton, State::Hover},
    {kPlainButtonIds[3], "Button_Disable.bmp", 80, 22, Art::PlainButton, State::Disabled},
});

// The picture of a resource number, if there is one.
constexpr std::optional<Bitmap> bitmapById(int resourceId) {
    if (resourceId <= 0)
        return std::nullopt;
    const auto* found = std::find_if(kBitmaps.begin(), kBitmaps.end(), [resourceId](const Bitmap& bitmap) {
        return bitmap.resourceId == resourceId;
    });
    return found == kBitmaps.end() ? std::nullopt : std::optional<Bitmap>(*found);
}

namespace detail {
constexpr bool uniqueIdsAndFiles() {
    for (std::size_t i = 0; i < kBitmaps.size(); ++i)
        for (std::size_t j = i + 1; j < kBitmaps.size(); ++j) {
            if (kBitmaps[i].file == kBitmaps[j].file)
                return false;
            if (kBitmaps[i].resourceId != 0 && kBitmaps[i].resourceId == kBitmaps[j].resourceId)
                return false;
        }
    return true;
}
} // namespace detail
static_assert(detail::uniqueIdsAndFiles(), "every skin picture needs its own number and file");

} // namespace solvane::ui::skin
