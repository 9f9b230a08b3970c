#pragma once

#include "hw/MachineAccess.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct pci_access;
struct pci_dev;

namespace solvane::host {

// The machine Solvane runs on, read only: PCI configuration space through libpci's sysfs access
// (<sysfs>/bus/pci), which also reads fixture trees. Physical memory is not read on the host (it
// would need raw memory access), so such reads fail.
class HostMachine final : public hw::MachineAccess {
public:
    static constexpr std::size_t kConfigSpaceBytes = 4096;

    explicit HostMachine(const std::filesystem::path& sysfsRoot = "/sys",
                         const std::filesystem::path& pciIdsFile = {});
    ~HostMachine() override;
    HostMachine(const HostMachine&) = delete;
    HostMachine& operator=(const HostMachine&) = delete;

    // The PCI addresses (bus << 8 | device << 3 | function) of the functions the kernel lists in
    // domain 0, ascending. The libraries address functions without a domain, so other domains are
    // out of reach.
    std::vector<std::uint32_t> functions() const;
    bool hasFunction(std::uint32_t pciAddress) const { return m_devices.contains(pciAddress); }

    void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) override;
    bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) override;

    // Vendor and device name from the PCI ID list, as lspci shows them ("Intel Corporation
    // Device 1234" when only the vendor is known).
    std::string deviceName(std::uint16_t vendorId, std::uint16_t deviceId);
    // The same names, but none unless the list knows the vendor and the device.
    std::optional<std::string> knownDeviceName(std::uint16_t vendorId, std::uint16_t deviceId);

private:
    const char* lookUpName(std::uint16_t vendorId, std::uint16_t deviceId, int flags, std::span<char> name);

    pci_access* m_pci = nullptr;
    std::string m_idListPath;                    // set when the PCI ID list was given
    std::map<std::uint32_t, pci_dev*> m_devices; // keyed by PCI address
};

} // namespace solvane::host
