#include "sim/SimulatedMachine.h"

#include "hw/ByteOrder.h"
#include "hw/PciHeader.h"
#include "hw/driver/IoDriverProtocol.h"

#include <algorithm>

namespace solvane::sim {

using namespace hw::pci;

PciConfigSpace PciConfigSpace::make(std::uint16_t vendorId, std::uint16_t deviceId, std::uint32_t classCode,
                                    std::uint8_t revision, std::uint8_t headerType) {
    PciConfigSpace space;
    space.write16(kVendorId, vendorId);
    space.write16(kDeviceId, deviceId);
    space.write16(kCommand, 0x0007); // I/O, memory and bus master enabled
    space.write16(kStatus, 0x0290);  // medium DEVSEL timing, fast back-to-back capable
    space.write32(kClassRevision, classCode << 8 | revision);
    space.bytes[kHeaderType] = headerType;
    // I/O, memory, bus master, parity and SERR enables, and the interrupt disable bit.
    space.writable[kCommand] = 0x47;
    space.writable[kCommand + 1] = 0x05;
    space.writable[kLatencyTimer] = 0xFF;
    space.writable[kInterruptLine] = 0xFF;
    if ((headerType & 0x7F) == 0x01)
        std::fill_n(space.writable.begin() + kBusNumbers, 3, std::uint8_t{0xFF});
    return space;
}

void PciConfigSpace::write16(std::size_t offset, std::uint16_t value) {
    hw::writeLittleEndian<std::uint16_t>(bytes, offset, value);
}

void PciConfigSpace::write32(std::size_t offset, std::uint32_t value) {
    hw::writeLittleEndian<std::uint32_t>(bytes, offset, value);
}

void PciConfigSpace::setWritable32(std::size_t offset, std::uint32_t mask) {
    hw::writeLittleEndian<std::uint32_t>(writable, offset, mask);
}

std::uint32_t PciConfigSpace::read32(std::size_t offset) const {
    return hw::readLittleEndian<std::uint32_t>(bytes, offset);
}

void PciConfigSpace::writeMasked32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4 && offset + i < bytes.size(); ++i) {
        const auto mask = writable[offset + i];
        const auto incoming = static_cast<std::uint8_t>(value >> (8 * i));
        bytes[offset + i] = static_cast<std::uint8_t>((bytes[offset + i] & ~mask) | (incoming & mask));
    }
}

void SimulatedMachine::addPciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                                      const PciConfigSpace& space) {
    m_pci[hw::zubrik::pciAddress(bus, device, function)] = space;
}

PciConfigSpace* SimulatedMachine::pciFunction(std::uint32_t bus, std::uint32_t device,
                                              std::uint32_t function) {
    const auto found = m_pci.find(hw::zubrik::pciAddress(bus, device, function));
    return found == m_pci.end() ? nullptr : &found->second;
}

const PciConfigSpace* SimulatedMachine::pciFunction(std::uint32_t bus, std::uint32_t device,
                                                    std::uint32_t function) const {
    const auto found = m_pci.find(hw::zubrik::pciAddress(bus, device, function));
    return found == m_pci.end() ? nullptr : &found->second;
}

bool SimulatedMachine::mapMemory(std::uint64_t address, std::vector<std::uint8_t> bytes) {
    if (bytes.empty() || address > UINT64_MAX - bytes.size())
        return false;
    const std::uint64_t end = address + bytes.size();
    for (const auto& [start, region] : m_memory)
        if (address < start + region.size() && start < end)
            return false;
    m_memory.emplace(address, std::move(bytes));
    return true;
}

void SimulatedMachine::readPciConfig(std::uint32_t pciAddress, std::uint32_t offset,
                                     std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0xFF});
    const auto found = m_pci.find(pciAddress);
    if (found == m_pci.end())
        return;
    const auto& bytes = found->second.bytes;
    for (std::size_t i = 0; i < out.size(); ++i)
        if (offset + i < bytes.size())
            out[i] = bytes[offset + i];
}

bool SimulatedMachine::readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) {
    // The range must lie inside one mapped region.
    auto region = m_memory.upper_bound(address);
    if (region == m_memory.begin())
        return false;
    --region;
    const auto& [start, bytes] = *region;
    const std::uint64_t offset = address - start;
    if (offset > bytes.size() || out.size() > bytes.size() - offset)
        return false;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

} // namespace solvane::sim
