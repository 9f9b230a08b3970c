#include "sysinfo/PciEnumeration.h"

#include "hw/PciHeader.h"
#include "sysinfo/PciTables.h"

#include <cstdio>

namespace solvane::sysinfo {

namespace {

// Base class times 256 plus sub-class of the functions whose facts the enumeration keeps.
constexpr std::uint16_t kHostBridgeClass = 0x0600;
constexpr std::uint16_t kIsaBridgeClass = 0x0601;
constexpr std::uint16_t kIeee1394Class = 0x0C00;
// Only the host bridge at device 0 is the platform's own.
constexpr std::uint8_t kHostBridgeDevice = 0;

std::string formatRow(std::string_view vendor, std::string_view kind, int bus, int device, int function) {
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, ";0x%.2X;0x%.2X;0x%.2X;", bus, device, function);
    std::string row;
    row.reserve(vendor.size() + kind.size() + sizeof numbers);
    row.append(vendor).append(" ").append(kind).append(numbers);
    return row;
}

void recordFacts(PciPlatformFacts& facts, std::uint16_t classCode, std::string_view vendor,
                 std::uint32_t register00, std::uint8_t bus, std::uint8_t device) {
    switch (classCode) {
    case kHostBridgeClass:
        if (device == kHostBridgeDevice) {
            facts.HostBridgeVendor = vendor;
            facts.HostBridgeChip = pciChipName(register00);
        }
        break;
    case kIsaBridgeClass:
        facts.IsaBridgeVendor = vendor;
        facts.IsaBridgeChip = pciChipName(register00);
        break;
    case hw::pci::kVgaClass:
        facts.GraphicsChip = pciChipName(register00);
        break;
    case kIeee1394Class:
        facts.Ieee1394Bus = bus;
        break;
    default:
        break;
    }
}

} // namespace

PciScan enumeratePci(hw::Falwick& pci) {
    PciScan scan;
    for (std::uint8_t bus = 0; bus <= kLastEnumeratedBus; ++bus)
        for (std::uint8_t device = 0; device < hw::pci::kDevicesPerBus; ++device)
            for (std::uint8_t function = 0; function < hw::pci::kFunctionsPerDevice; ++function) {
                const auto ids = pci.PCI_RW(bus, device, function, hw::pci::kVendorId, 0, hw::Falwick::kRead);
                if (ids == hw::Falwick::kNoDevice)
                    continue;
                const auto vendorId = static_cast<std::uint16_t>(ids & 0xFFFF);
                const auto classCode = static_cast<std::uint16_t>(
                    pci.PCI_RW(bus, device, function, hw::pci::kClassRevision, 0, hw::Falwick::kRead) >> 16);
                const auto knownVendor = pciVendorText(vendorId);
                const auto knownKind = pciClassText(classCode);
                const auto vendor = knownVendor.value_or("Unknown");
                const auto kind = knownKind.value_or("Device");
                recordFacts(scan.facts, classCode, vendor, ids, bus, device);
                scan.devices.push_back({formatRow(vendor, kind, bus, device, function),
                                        vendorId,
                                        static_cast<std::uint16_t>(ids >> 16),
                                        knownVendor.has_value() && knownKind.has_value(),
                                        {}});
            }
    return scan;
}

} // namespace solvane::sysinfo
