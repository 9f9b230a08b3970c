#pragma once

#include <cstdint>
#include <span>

namespace solvane::hw {

// What the I/O driver reaches directly on the machine: PCI configuration space and physical
// memory. Implemented by each hardware back-end.
class MachineAccess {
public:
    virtual ~MachineAccess() = default;
    // Fills out with configuration bytes of the function at pciAddress (bus << 8 | device << 3 |
    // function) from offset on. Absent functions and bytes beyond the space read as 0xFF, as the
    // bus returns them.
    virtual void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset,
                               std::span<std::uint8_t> out) = 0;
    // Fills out from physical memory at address; false when the range is not readable.
    virtual bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) = 0;
};

} // namespace solvane::hw
