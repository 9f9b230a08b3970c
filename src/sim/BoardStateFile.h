#pragma once

#include "sim/boards/RegisterInventory.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::sim {

// One register whose value differs from its power-on value. For PCI, unit is bus << 8 | device << 3 |
// function and value is 32 bits wide; for the byte registers value is a byte.
struct StateEntry {
    RegisterBus bus = RegisterBus::Smbus;
    std::uint16_t unit = 0;
    std::uint16_t reg = 0;
    std::uint32_t value = 0;
    friend bool operator==(const StateEntry&, const StateEntry&) = default;
};

// The text form of a board's kept state: a header naming the format and the board, one line per
// changed register, and a checksum line over everything before it, so that a damaged file is
// recognised rather than half applied.
//   Solvane simulated board state 1
//   board 2917
//   smbus 32 01 97
//   superio 06 81 07
//   port 048c 04
//   cmos 94 04
//   pci 00:18.3 a0 00000080
//   check 1a2b3c4d
std::string formatBoardState(int boardCode, const std::vector<StateEntry>& entries);
// The entries of a state file of boardCode, or nothing when the text is not one whole, undamaged file
// of that board.
std::optional<std::vector<StateEntry>> parseBoardState(std::string_view text, int boardCode);

// The state file of a board in a state folder.
std::filesystem::path boardStatePath(const std::filesystem::path& folder, int boardCode);

} // namespace solvane::sim
