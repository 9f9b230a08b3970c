#pragma once

#include "board/BoardSet.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace solvane::tuning {

// The lamps on the board picture, by control id.
namespace lamp {
inline constexpr std::array<int, 6> kCpu{1161, 1167, 1168, 1169, 1170, 1171}; // CPU phase lamps 1 to 6
inline constexpr std::array<int, 2> kQpi{1173, 1174};
inline constexpr std::array<int, 3> kMemory{1177, 1178, 1181};
inline constexpr std::array<int, 2> kIoh{1175, 1176};
inline constexpr int kPower = 1159;
inline constexpr int kStandby = 1163;
inline constexpr int kEasyButton = 1179;
inline constexpr int kPciSlot = 1180;
inline constexpr int kPcieSlot = 1160;
inline constexpr int kLoadLine = 1164;
inline constexpr int kHardDisk = 1165;
} // namespace lamp

// The pictures a lamp shows (bitmap resources).
namespace lamp_image {
inline constexpr int kLit = 255;
inline constexpr int kDark = 256;
inline constexpr int kPowerLit = 251;
inline constexpr int kStandbyBlink = 307;
inline constexpr int kEasyButtonOn = 258;
inline constexpr int kEasyButtonOff = 259;
inline constexpr std::array<int, 6> kAll{kLit,          kDark,         kPowerLit,
                                         kStandbyBlink, kEasyButtonOn, kEasyButtonOff};
} // namespace lamp_image

// The three pictures of a picture button: normal, pressed, hover.
using PictureImages = std::array<int, 3>;

// The caption colour of a picture button: blue for the phase and slot LEDs, green for the power
// and Easy Button LEDs.
enum class CaptionColour { Blue, Green };

// An LED switch of the LED page: its setting slot (20 to 28 in the catalogue, 29 and 30 the two
// switches of 2915), the key the report names it by, its ">>" button, its label and the label's
// dialog text, its picture button (0: none) with tool tip, pictures, caption and caption colour,
// and the lamps it drives.
struct LedSwitch {
    int setting;
    std::string_view key;
    int buttonId;
    int labelId;
    std::string_view label;
    int pictureId;
    std::string_view toolTip;
    PictureImages pictures;
    std::string_view pictureCaption;
    CaptionColour colour;
    std::span<const int> lamps;
};

inline constexpr std::array<int, 1> kEasyButtonLamps{lamp::kEasyButton};
inline constexpr std::array<int, 2> kPowerStandbyLamps{lamp::kPower, lamp::kStandby};
inline constexpr std::array<int, 1> kPciSlotLamps{lamp::kPciSlot};
inline constexpr std::array<int, 1> kPcieSlotLamps{lamp::kPcieSlot};
inline constexpr std::array<int, 1> kLoadLineLamps{lamp::kLoadLine};
inline constexpr std::array<int, 1> kHardDiskLamps{lamp::kHardDisk};

inline constexpr int kFirstLedSetting = 20;
inline constexpr int kAllLedSetting = 20;
inline constexpr std::size_t kLedSwitchCount = 11;

// clang-format off
inline constexpr std::array<LedSwitch, kLedSwitchCount> kLedSwitches{{
    {20, "ALL_LED", 1077, 1112, "All", 0, {}, {}, {}, CaptionColour::Blue, {}},
    {21, "CPU_PHASE_LED", 1082, 1117, "CPU TRYPH", 1205, "Turn On/Off CPU TRYPH LED", {279, 282, 281},
     "CPU TRYPH", CaptionColour::Blue, lamp::kCpu},
    {22, "POWER_RESET_LED", 1079, 1114, "Easy Button", 1201, "Turn On/Off Easy Button LED", {288, 289, 290},
     "Easy Button", CaptionColour::Green, kEasyButtonLamps},
    {23, "CPU_VTTD_PHASE_LED", 1075, 1110, "QPI TRYPH", 1207, "Turn On/Off CPU QPI TRYPH LED", {302, 303, 301},
     "QPI TRYPH", CaptionColour::Blue, lamp::kQpi},
    {24, "DDR_PHASE_LED", 1074, 1109, "Memory TRYPH", 1202, "Turn On/Off Memory TRYPH LED", {284, 285, 283},
     "Memory TRYPH", CaptionColour::Blue, lamp::kMemory},
    {25, "MCH_PHASE_LED", 1076, 1111, "IOH TRYPH", 1206, "Turn On/Off IOH TRYPH LED", {299, 300, 298},
     "IOH TRYPH", CaptionColour::Blue, lamp::kIoh},
    {26, "S0_S3_LED", 1078, 1113, "Power/Standby LED", 1203, "Turn On/Off Power/Standby LED", {292, 293, 291},
     "Power LED", CaptionColour::Green, kPowerStandbyLamps},
    {27, "PCI_SLOT_LED", 1080, 1115, "PCI Slot", 1204, "Turn On/Off PCI Slot LED", {296, 294, 295},
     "PCI Slot", CaptionColour::Blue, kPciSlotLamps},
    {28, "PCIE_SLOT_LED", 1081, 1116, "PCIE Slot", 1208, "Turn On/Off PCIE Slot LED", {305, 306, 304},
     "PCIE Slot", CaptionColour::Blue, kPcieSlotLamps},
    {29, "CPU_LOAD_LINE_LED", 1087, 1118, "CPU Load Line", 1209, "Turn On/Off CPU Load Line LED", {322, 320, 321},
     "Load Line", CaptionColour::Blue, kLoadLineLamps},
    {30, "HD_LED", 1088, 1119, "HD LED", 1210, "Turn On/Off HD LED", {318, 316, 317},
     "HD LED", CaptionColour::Blue, kHardDiskLamps},
}};
// clang-format on

constexpr bool switchesAreInSettingOrder() {
    for (std::size_t i = 0; i < kLedSwitches.size(); ++i)
        if (kLedSwitches[i].setting != kFirstLedSetting + static_cast<int>(i))
            return false;
    return true;
}
static_assert(switchesAreInSettingOrder(), "switch i is setting 20 + i");

// The switch of a setting slot (20 to 30), or none.
const LedSwitch* ledSwitchOf(int setting);

// The slot pictures of the board picture (expansion slots) and the LED group's title picture.
inline constexpr std::array<int, 7> kSlotPictures{1172, 1190, 1191, 1192, 1193, 1195, 1196};
inline constexpr int kLedGroupPicture = 1194;

// A set of LED switches as a bit mask over the setting slot.
class SwitchSet {
public:
    constexpr SwitchSet() = default;
    constexpr SwitchSet(std::initializer_list<int> settings) {
        for (const int setting : settings)
            m_bits |= bitOf(setting);
    }
    static constexpr SwitchSet range(int first, int last) {
        SwitchSet set;
        for (int setting = first; setting <= last; ++setting)
            set.m_bits |= bitOf(setting);
        return set;
    }
    constexpr SwitchSet without(SwitchSet other) const { return SwitchSet(m_bits & ~other.m_bits); }
    constexpr bool contains(int setting) const { return (m_bits & bitOf(setting)) != 0; }

private:
    constexpr explicit SwitchSet(std::uint32_t bits) : m_bits(bits) {}
    static constexpr std::uint32_t bitOf(int setting) {
        return setting >= kFirstLedSetting && setting < kFirstLedSetting + static_cast<int>(kLedSwitchCount)
                   ? std::uint32_t{1} << (setting - kFirstLedSetting)
                   : 0;
    }
    std::uint32_t m_bits = 0;
};

// Which board picture the page shows as its background.
enum class BoardPictureKind { Full, Small };

// The page's layout per board group: the switches shown (a hidden switch hides its label, ">>"
// button, picture button and lamps), how many CPU phase lamps show, and what else the board changes.
// A board not listed shows switches 20 to 28 with six CPU lamps, as the dialog has them.
struct LedBoardLayout {
    hw::BoardSet boards;
    SwitchSet shown;
    int cpuLamps;
    bool memoryLamp3 = false;   // the third memory lamp (hidden in the dialog)
    bool pictureButtons = true; // false: the shown switches have label and ">>" only, no lamps
    bool groupPictureHidden = false;
    std::array<int, 3> hiddenSlots{}; // slot pictures hidden (0: none)
    BoardPictureKind picture = BoardPictureKind::Full;
};

inline constexpr SwitchSet kDialogSwitches = SwitchSet::range(20, 28);

inline constexpr std::array<LedBoardLayout, 11> kLedBoardLayouts{{
    {.boards = {2917}, .shown = kDialogSwitches, .cpuLamps = 6},
    {.boards = {2916}, .shown = {20, 21, 22, 24, 25, 26, 27, 28}, .cpuLamps = 5},
    {.boards = {2915}, .shown = {20, 21, 22, 23, 24, 25, 26, 27, 29, 30}, .cpuLamps = 6, .memoryLamp3 = true},
    {.boards = {2911}, .shown = {20, 21, 22, 24, 25}, .cpuLamps = 5},
    {.boards = {2910}, .shown = {20, 21, 22}, .cpuLamps = 6, .hiddenSlots = {1193, 1195}},
    {.boards = {2912, 2907}, .shown = {21}, .cpuLamps = 4, .hiddenSlots = {1172}},
    {.boards = {2906}, .shown = {21}, .cpuLamps = 4, .groupPictureHidden = true},
    {.boards = {2902, 2905}, .shown = {21}, .cpuLamps = 4, .groupPictureHidden = true, .hiddenSlots = {1196}},
    {.boards = {2903}, .shown = {21}, .cpuLamps = 2, .groupPictureHidden = true},
    {.boards = {2904},
     .shown = {21},
     .cpuLamps = 1,
     .groupPictureHidden = true,
     .hiddenSlots = {1172, 1190, 1191},
     .picture = BoardPictureKind::Small},
    {.boards = {2901},
     .shown = {21},
     .cpuLamps = 0,
     .pictureButtons = false,
     .groupPictureHidden = true,
     .hiddenSlots = {1196},
     .picture = BoardPictureKind::Small},
}};

// The BIOS of 2916 whose version names "V7" has no memory and IOH phase LEDs.
inline constexpr std::string_view kBiosWithoutPhaseLeds = "V7";
inline constexpr SwitchSet kSwitchesGoneWithV7{24, 25};

// What the page shows of one switch on the identified board.
struct LedSwitchPlan {
    bool shown = false;
    std::string_view label;
    bool pictureShown = false;
    PictureImages pictures{};
    std::string_view pictureCaption;
};

constexpr std::size_t lampCount() {
    std::size_t count = 0;
    for (const auto& led : kLedSwitches)
        count += led.lamps.size();
    return count;
}
inline constexpr std::size_t kLampCount = 20;
static_assert(lampCount() == kLampCount, "every lamp belongs to one switch");

struct LedPagePlan {
    std::array<LedSwitchPlan, kLedSwitchCount> switches;
    // The lamps the page shows; the others are hidden.
    std::array<int, kLampCount> lamps{};
    std::size_t lampCount = 0;
    std::array<bool, kSlotPictures.size()> slotsShown{};
    bool groupPictureShown = true;
    BoardPictureKind picture = BoardPictureKind::Full;

    const LedSwitchPlan& of(int setting) const {
        return switches[static_cast<std::size_t>(setting - kFirstLedSetting)];
    }
    std::span<const int> shownLamps() const { return {lamps.data(), lampCount}; }
    bool lampShown(int lampId) const;
};

// The layout of the LED page on a board: its code, the BIOS version string and the CPU vendor.
LedPagePlan ledPagePlan(int boardCode, std::string_view biosVersion, std::string_view cpuVendor);

} // namespace solvane::tuning
