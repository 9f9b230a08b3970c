#pragma once

#include "sim/SimulatedMachine.h"

namespace solvane::sim {

// The PCI functions of the simulated board 2918 (an Intel 4-series host bridge at 0:0.0) with an NVIDIA
// card in its graphics slot at 1:0.0 and the card's video BIOS at 0xC0000: a machine for tests of the
// I/O driver that need no whole board (createSimulatedHardware makes those).
void addBaseDevices(SimulatedMachine& machine);

} // namespace solvane::sim
