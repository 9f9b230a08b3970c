#pragma once

#include "hw/HardwareLibraries.h"

namespace solvane::tuning {

// Whether a card sits in the PCI slot: on the bus of the IEEE 1394 controller, device 0 or device
// 1, function 0, answers its identifier register. Without a controller (bus 0) there is no slot
// bus to ask, and no card. The LED page asks once, at its creation.
bool pciCardPresent(hw::Falwick& pci, int ieee1394Bus);

} // namespace solvane::tuning
