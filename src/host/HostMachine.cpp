#include "host/HostMachine.h"

#include <algorithm>

extern "C" {
#include <pci/pci.h>
}

namespace solvane::host {

HostMachine::HostMachine() : m_pci(pci_alloc()) {
    if (m_pci != nullptr)
        pci_init(m_pci);
}

HostMachine::~HostMachine() {
    if (m_pci != nullptr)
        pci_cleanup(m_pci);
}

void HostMachine::readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0xFF});
    if (m_pci == nullptr)
        return;
    pci_dev* device =
        pci_get_dev(m_pci, 0, static_cast<int>(pciAddress >> 8 & 0xFF),
                    static_cast<int>(pciAddress >> 3 & 0x1F), static_cast<int>(pciAddress & 0x7));
    if (device == nullptr)
        return;
    // Without privileges the kernel hands out the first 64 bytes only; the rest stays 0xFF.
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::uint8_t byte = 0xFF;
        if (pci_read_block(device, static_cast<int>(offset + i), &byte, 1))
            out[i] = byte;
    }
    pci_free_dev(device);
}

bool HostMachine::readPhysicalMemory(std::uint64_t, std::span<std::uint8_t>) {
    return false;
}

} // namespace solvane::host
