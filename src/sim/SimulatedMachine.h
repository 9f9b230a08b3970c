#pragma once

#include "hw/MachineAccess.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace solvane::sim {

// Configuration space of one simulated PCI function (the 256 bytes of conventional PCI; the
// extended space beyond reads as 0xFF), with the bits a configuration write may change.
struct PciConfigSpace {
    std::array<std::uint8_t, 256> bytes{};
    std::array<std::uint8_t, 256> writable{};

    // A function with its identity and the usual writable header bits: command, latency timer,
    // interrupt line, and for a bridge (header type 1) its bus numbers.
    static PciConfigSpace make(std::uint16_t vendorId, std::uint16_t deviceId, std::uint32_t classCode,
                               std::uint8_t revision, std::uint8_t headerType = 0);
    void write16(std::size_t offset, std::uint16_t value);
    void write32(std::size_t offset, std::uint32_t value);
    void setWritable32(std::size_t offset, std::uint32_t mask);
    std::uint32_t read32(std::size_t offset) const;
    // A configuration write: changes only the writable bits.
    void writeMasked32(std::size_t offset, std::uint32_t value);
};

// The part of a simulated machine the I/O driver and the PCI library reach: PCI configuration space
// and physical memory mapped as regions.
class SimulatedMachine final : public hw::MachineAccess {
public:
    void addPciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                        const PciConfigSpace& space);
    // Null when there is no such function.
    PciConfigSpace* pciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function);
    const PciConfigSpace* pciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function) const;
    // Maps bytes at a physical address; later regions may not overlap earlier ones.
    bool mapMemory(std::uint64_t address, std::vector<std::uint8_t> bytes);

    void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) override;
    bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) override;

    const std::map<std::uint32_t, PciConfigSpace>& pciFunctions() const { return m_pci; }

private:
    std::map<std::uint32_t, PciConfigSpace> m_pci;               // keyed by PCI address
    std::map<std::uint64_t, std::vector<std::uint8_t>> m_memory; // keyed by start address
};

} // namespace solvane::sim
