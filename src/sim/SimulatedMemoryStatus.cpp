#include "sim/SimulatedMemoryStatus.h"

#include <algorithm>

namespace solvane::sim {

namespace {

constexpr std::uint64_t kBytesPerMegabyte = 1024 * 1024;

} // namespace

platform::MemoryStatus simulatedMemoryStatus(std::span<const MemoryModule> modules) {
    std::uint64_t installed = 0;
    for (const auto& module : modules)
        installed += static_cast<std::uint64_t>(module.sizeMegabytes);
    platform::MemoryStatus status;
    status.dwTotalPhys = installed * kBytesPerMegabyte;
    if (installed != 0) {
        const std::uint64_t used = std::min(kSimulatedUseMegabytes, installed);
        status.dwMemoryLoad = static_cast<std::uint32_t>((used * 100 + installed / 2) / installed);
    }
    return status;
}

} // namespace solvane::sim
