#pragma once

#include "platform/MemoryStatus.h"
#include "sim/boards/MemoryModule.h"

#include <span>

namespace solvane::sim {

// What the operating system of a simulated board uses of its memory: the system and the programs a
// desktop of the board's time keeps running.
inline constexpr std::uint64_t kSimulatedUseMegabytes = 640;

// The memory status the simulated machine's operating system reports: all installed memory, and the
// simulated use as a share of it (all of it when less is installed).
platform::MemoryStatus simulatedMemoryStatus(std::span<const MemoryModule> modules);

} // namespace solvane::sim
