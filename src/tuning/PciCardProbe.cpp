#include "tuning/PciCardProbe.h"

namespace solvane::tuning {

namespace {
constexpr std::uint8_t kIdentifierRegister = 0;
constexpr std::uint8_t kFunction = 0;
} // namespace

bool pciCardPresent(hw::Falwick& pci, int ieee1394Bus) {
    // Bus 0 stands for "no controller found", and there device 0 is the host bridge, which always
    // answers: probing it would report a card in every board without the controller. A number
    // outside configuration space's eight bits names no bus.
    if (ieee1394Bus <= 0 || ieee1394Bus > 0xFF)
        return false;
    const auto bus = static_cast<std::uint8_t>(ieee1394Bus);
    for (const std::uint8_t device : {0, 1})
        if (pci.PCI_RW(bus, device, kFunction, kIdentifierRegister, 0, hw::Falwick::kRead) !=
            hw::Falwick::kNoDevice)
            return true;
    return false;
}

} // namespace solvane::tuning
