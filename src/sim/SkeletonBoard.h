#pragma once

#include "sim/SimulatedMachine.h"

namespace solvane::sim {

// The devices every simulated board has: an Intel host bridge at 0:0.0, a VGA controller at 1:0.0
// behind it, and the controller's legacy video BIOS image at 0xC0000.
void addBaseDevices(SimulatedMachine& machine);

inline constexpr std::uint64_t kLegacyVideoBiosAddress = 0xC0000;

} // namespace solvane::sim
