#include "sim/SkeletonBoard.h"

#include "sim/VideoBiosImage.h"

namespace solvane::sim {

void addBaseDevices(SimulatedMachine& machine) {
    machine.addPciFunction(0, 0, 0, PciConfigSpace::make(0x8086, 0x2E20, 0x060000));
    auto bridge = PciConfigSpace::make(0x8086, 0x2E21, 0x060400, 0x01);
    bridge.bytes[0x18] = 0; // primary bus
    bridge.bytes[0x19] = 1; // secondary bus
    bridge.bytes[0x1A] = 1; // subordinate bus
    machine.addPciFunction(0, 1, 0, bridge);
    machine.addPciFunction(1, 0, 0, PciConfigSpace::make(0x10DE, 0x0640, 0x030000));
    machine.mapMemory(
        kLegacyVideoBiosAddress,
        buildVideoBiosImage(0x10DE, 0x0640, "Version 62.94.4C.00.51 \r\nCopyright (C) 1996-2008"));
}

} // namespace solvane::sim
