#pragma once

#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <array>
#include <span>

// Where the lamps, slot pictures and picture buttons of the LED page sit on the board pictures.
// tools/skingen draws the board around these places (LED pads, slot outlines, chips), so the
// page places its controls from the same table and they land where the picture expects them.
namespace solvane::ui::skin {

// A control on the board picture: its control id, its top-left corner in board coordinates
// (add the board's origin for page coordinates) and the picture it shows first.
struct BoardSite {
    int controlId;
    int x;
    int y;
    int bitmapId;
};

struct BoardPicture {
    Variant variant;
    std::string_view file;
    // The board's outline in page coordinates; sites are relative to its top-left corner.
    Rect board;
    std::span<const BoardSite> lampSites;
    std::span<const BoardSite> slotSites;
    std::span<const BoardSite> spotSites;
};

namespace detail {

// The large board: CPU phase lamps under the voltage regulator, QPI lamps below the socket,
// memory lamps under the DIMM slots, IOH lamps beside the chipset, the slot LEDs after their
// slots and the power, load-line and disk LEDs along the bottom edge.
inline constexpr auto kFullLamps = std::to_array<BoardSite>({
    {1161, 114, 32, kLampDarkId},  {1167, 132, 32, kLampDarkId},       {1168, 150, 32, kLampDarkId},
    {1169, 168, 32, kLampDarkId},  {1170, 186, 32, kLampDarkId},       {1171, 204, 32, kLampDarkId},
    {1173, 114, 154, kLampDarkId}, {1174, 128, 154, kLampDarkId},      {1177, 234, 192, kLampDarkId},
    {1178, 248, 192, kLampDarkId}, {1181, 262, 192, kLampDarkId},      {1175, 300, 236, kLampDarkId},
    {1176, 314, 236, kLampDarkId}, {1160, 186, 214, kLampDarkId},      {1180, 164, 271, kLampDarkId},
    {1164, 96, 352, kLampDarkId},  {1165, 180, 352, kLampDarkId},      {1159, 312, 352, kLampDarkId},
    {1163, 326, 352, kLampDarkId}, {1179, 360, 348, kEasyButtonOffId},
});
inline constexpr auto kFullSlots = std::to_array<BoardSite>({
    {1172, 8, 210, kSlotPcieX16Id},
    {1190, 8, 229, kSlotPcieX1Id},
    {1191, 8, 248, kSlotPcieX16Id},
    {1192, 8, 267, kSlotPciId},
    {1193, 8, 286, kSlotPcieX16Id},
    {1195, 8, 305, kSlotPcieX1Id},
    {1196, 8, 324, kSlotPciId},
});
inline constexpr auto kFullSpots = std::to_array<BoardSite>({
    {1205, 22, 28, 279},
    {1207, 26, 150, 302},
    {1202, 132, 188, 284},
    {1206, 298, 254, 299},
    {1208, 198, 210, 305},
    {1204, 176, 267, 296},
    {1209, 8, 348, 322},
    {1210, 112, 348, 318},
    {1203, 224, 348, 292},
    {1201, 296, 322, 288},
});

// The small board of KX-2904 and KX-2901: the CPU lamps and the slots; its LED switch has no
// other lamps.
inline constexpr auto kSmallLamps = std::to_array<BoardSite>({
    {1161, 96, 40, kLampDarkId},
    {1167, 114, 40, kLampDarkId},
    {1168, 132, 40, kLampDarkId},
    {1169, 150, 40, kLampDarkId},
    {1170, 168, 40, kLampDarkId},
    {1171, 186, 40, kLampDarkId},
    {1159, 252, 330, kLampDarkId},
    {1163, 266, 330, kLampDarkId},
});
inline constexpr auto kSmallSlots = std::to_array<BoardSite>({
    {1172, 10, 214, kSlotPcieX16Id},
    {1190, 10, 233, kSlotPcieX1Id},
    {1191, 10, 252, kSlotPciId},
    {1192, 10, 271, kSlotPcieX16Id},
    {1193, 10, 290, kSlotPcieX1Id},
    {1195, 10, 309, kSlotPciId},
    {1196, 10, 328, kSlotPciId},
});
inline constexpr auto kSmallSpots = std::to_array<BoardSite>({
    {1205, 8, 36, 279},
});

} // namespace detail

inline constexpr BoardPicture kFullBoardPicture{Variant::BoardFull, kBoardPictureFile,  {298, 8, 394, 376},
                                                detail::kFullLamps, detail::kFullSlots, detail::kFullSpots};
inline constexpr BoardPicture kSmallBoardPicture{Variant::BoardSmall, kSmallBoardPictureFile,
                                                 {340, 18, 312, 356}, detail::kSmallLamps,
                                                 detail::kSmallSlots, detail::kSmallSpots};

} // namespace solvane::ui::skin
