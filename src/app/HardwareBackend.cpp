#include "app/HardwareBackend.h"

#include "host/HostMachine.h"
#include "sim/SkeletonBoard.h"

namespace solvane::app {

HardwareBackend HardwareBackend::create(const Options& options) {
    HardwareBackend backend;
    if (options.hardware == HardwareKind::Host) {
        backend.machine = std::make_unique<host::HostMachine>();
        backend.description = "This machine (read only)";
    } else {
        auto machine = std::make_unique<sim::SimulatedMachine>();
        sim::addBaseDevices(*machine);
        backend.machine = std::move(machine);
        backend.description = options.boardCode == 0
                                  ? std::string("Simulated board of a kind Solvane does not know")
                                  : "Simulated board KX-" + std::to_string(options.boardCode);
    }
    backend.driver = std::make_unique<hw::ZubrikDriver>(*backend.machine);
    return backend;
}

} // namespace solvane::app
