#include "sysinfo/NoDdr3Module.h"

#include <array>

namespace solvane::sysinfo {

namespace {

// SPD read addresses of the six memory-module EEPROMs, and the memory type byte of DDR3.
constexpr std::array<std::uint8_t, 6> kSpdReadAddresses{0xA1, 0xA3, 0xA5, 0xA7, 0xA9, 0xAB};
constexpr std::uint8_t kSpdMemoryTypeByte = 2;
constexpr std::uint8_t kDdr3 = 0x0B;
// Only these boards look: they come with either memory kind.
constexpr std::array<int, 2> kCheckedBoards{2904, 2907};

} // namespace

bool noDdr3Module(int boardCode, hw::Hoblin& smbus) {
    if (boardCode != kCheckedBoards[0] && boardCode != kCheckedBoards[1])
        return true;
    bool none = true;
    for (const auto address : kSpdReadAddresses)
        if (smbus.Smbus_JRW(address, kSpdMemoryTypeByte, 0) == kDdr3)
            none = false;
    return none;
}

} // namespace solvane::sysinfo
