#include "host/HostMachine.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>

extern "C" {
#include <pci/pci.h>
}

namespace solvane::host {

namespace {

constexpr std::uint8_t kAbsentByte = 0xFF;
constexpr std::size_t kNameBufferSize = 256;

// libpci reports unreadable config files as warnings on stderr; on the host an unreadable function
// simply reads as absent, so they are dropped.
void ignoreMessage(char*, ...) {}

// "0000:00:1f.3" in <sysfs>/bus/pci/devices; the domain must be 0.
std::optional<std::uint32_t> pciAddressOfEntry(const std::string& name) {
    unsigned domain = 0;
    unsigned bus = 0;
    unsigned device = 0;
    unsigned function = 0;
    char end = 0;
    if (std::sscanf(name.c_str(), "%x:%x:%x.%u%c", &domain, &bus, &device, &function, &end) != 4 ||
        domain != 0 || bus > 0xFF || device > 0x1F || function > 7)
        return std::nullopt;
    return bus << 8 | device << 3 | function;
}

} // namespace

HostMachine::HostMachine(const std::filesystem::path& sysfsRoot, const std::filesystem::path& pciIdsFile)
    : m_pci(pci_alloc()) {
    if (m_pci == nullptr)
        return;
    // The sysfs method is chosen outright: automatic probing could fall back to direct port access,
    // and when nothing works libpci would end the process.
    m_pci->method = PCI_ACCESS_SYS_BUS_PCI;
    m_pci->warning = ignoreMessage;
    m_pci->debug = ignoreMessage;
    const auto busFolder = sysfsRoot / "bus" / "pci";
    std::string busPath = busFolder.string();
    pci_set_param(m_pci, const_cast<char*>("sysfs.path"), busPath.data());
    if (!pciIdsFile.empty()) {
        // libpci keeps the pointer, not a copy.
        m_idListPath = pciIdsFile.string();
        pci_set_name_list_path(m_pci, m_idListPath.data(), 0);
    }
    pci_init(m_pci);

    // Listing the folder ourselves rather than with pci_scan_bus keeps a strange entry from ending
    // the process inside libpci.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(busFolder / "devices", error)) {
        const auto address = pciAddressOfEntry(entry.path().filename().string());
        if (!address)
            continue;
        pci_dev* device = pci_get_dev(m_pci, 0, static_cast<int>(*address >> 8),
                                      static_cast<int>(*address >> 3 & 0x1F), static_cast<int>(*address & 7));
        if (device != nullptr)
            m_devices.emplace(*address, device);
    }
}

HostMachine::~HostMachine() {
    for (const auto& [address, device] : m_devices)
        pci_free_dev(device);
    if (m_pci != nullptr)
        pci_cleanup(m_pci);
}

std::vector<std::uint32_t> HostMachine::functions() const {
    std::vector<std::uint32_t> addresses;
    for (const auto& [address, device] : m_devices)
        addresses.push_back(address);
    return addresses;
}

void HostMachine::readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), kAbsentByte);
    const auto found = m_devices.find(pciAddress);
    if (found == m_devices.end() || offset >= kConfigSpaceBytes || out.empty())
        return;
    const std::size_t count = std::min<std::size_t>(out.size(), kConfigSpaceBytes - offset);
    std::vector<std::uint8_t> bytes(count);
    if (pci_read_block(found->second, static_cast<int>(offset), bytes.data(), static_cast<int>(count)) != 0) {
        std::copy(bytes.begin(), bytes.end(), out.begin());
        return;
    }
    // The kernel gives unprivileged readers the first 64 bytes only, and a conventional function has
    // 256: what lies beyond reads as 0xFF, byte by byte up to the first that cannot be read.
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t byte = kAbsentByte;
        if (pci_read_block(found->second, static_cast<int>(offset + i), &byte, 1) == 0)
            break;
        out[i] = byte;
    }
}

bool HostMachine::readPhysicalMemory(std::uint64_t, std::span<std::uint8_t>) {
    return false;
}

const char* HostMachine::lookUpName(std::uint16_t vendorId, std::uint16_t deviceId, int flags,
                                    std::span<char> name) {
    if (m_pci == nullptr)
        return nullptr;
    // A list given for tests is the only source of names, so the answer does not depend on the
    // machine's hardware database.
    flags |= PCI_LOOKUP_VENDOR | PCI_LOOKUP_DEVICE | (m_idListPath.empty() ? 0 : PCI_LOOKUP_NO_HWDB);
    return pci_lookup_name(m_pci, name.data(), static_cast<int>(name.size()), flags, vendorId, deviceId);
}

std::string HostMachine::deviceName(std::uint16_t vendorId, std::uint16_t deviceId) {
    std::array<char, kNameBufferSize> name{};
    const char* text = lookUpName(vendorId, deviceId, 0, name);
    return text != nullptr ? std::string(text) : std::string();
}

std::optional<std::string> HostMachine::knownDeviceName(std::uint16_t vendorId, std::uint16_t deviceId) {
    std::array<char, kNameBufferSize> name{};
    const char* text = lookUpName(vendorId, deviceId, PCI_LOOKUP_NO_NUMBERS, name);
    if (text == nullptr || *text == 0)
        return std::nullopt;
    return std::string(text);
}

} // namespace solvane::host
