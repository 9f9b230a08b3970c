#pragma once

#include "hw/MachineAccess.h"

#include <memory>

struct pci_access;

namespace solvane::host {

// The machine Solvane runs on, read only: PCI configuration space through libpci. Physical memory
// is not read on the host (it would need raw memory access), so such reads fail.
class HostMachine final : public hw::MachineAccess {
public:
    HostMachine();
    ~HostMachine() override;
    HostMachine(const HostMachine&) = delete;
    HostMachine& operator=(const HostMachine&) = delete;

    void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) override;
    bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) override;

private:
    pci_access* m_pci = nullptr;
};

} // namespace solvane::host
