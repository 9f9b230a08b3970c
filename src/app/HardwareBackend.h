#pragma once

#include "app/CommandLine.h"
#include "hw/MachineAccess.h"
#include "hw/ZubrikDriver.h"

#include <memory>
#include <string>

namespace solvane::app {

// The one place the hardware back-end is chosen: the simulated board or this machine.
struct HardwareBackend {
    std::unique_ptr<hw::MachineAccess> machine;
    std::unique_ptr<hw::ZubrikDriver> driver; // the kernel side of the I/O driver, on that machine
    std::string description;

    static HardwareBackend create(const Options& options);
};

} // namespace solvane::app
