#include "sysinfo/NoDdr3Module.h"

#include "sysinfo/Ddr3SpdLayout.h"
#include "sysinfo/MemoryTables.h"

#include <array>

namespace solvane::sysinfo {

namespace {

// Only these boards look: they come with either memory kind.
constexpr std::array<int, 2> kCheckedBoards{2904, 2907};

} // namespace

bool noDdr3Module(int boardCode, hw::Hoblin& smbus) {
    if (boardCode != kCheckedBoards[0] && boardCode != kCheckedBoards[1])
        return true;
    bool none = true;
    for (std::size_t row = 0; row < kMemorySlotRows.size(); ++row) {
        const auto readAddress = static_cast<std::uint8_t>(memorySlot(row).address | 1U);
        if (smbus.Smbus_JRW(readAddress, ddr3_spd::kMemoryType, 0) == kDdr3TypeCode)
            none = false;
    }
    return none;
}

} // namespace solvane::sysinfo
