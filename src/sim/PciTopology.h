#pragma once

#include "sim/SimulatedMachine.h"
#include "sim/boards/BoardModel.h"

namespace solvane::sim {

// The subsystem vendor id the board's own PCI functions carry.
inline constexpr std::uint16_t kBoardSubsystemVendor = 0x1E57;

struct PciLocation {
    std::uint8_t bus = 0;
    std::uint8_t device = 0;
};

// Where a graphics controller sits on a board.
PciLocation graphicsLocation(const BoardModel& board, const GraphicsCard& card);

// Fills the machine with the board's PCI functions and the graphics controller (with its legacy video
// BIOS at 0xC0000), and sets the power-on values and writable bits of the configuration registers the
// board routines use.
void installPciTopology(SimulatedMachine& machine, const BoardModel& board, const GraphicsCard& card);

} // namespace solvane::sim
