#include "app/HardwareBackend.h"

#include "host/HostHardware.h"
#include "hw/replay/ReplayHardware.h"
#include "hw/replay/ReplaySources.h"
#include "sim/SimulatedHardware.h"

#include <stdexcept>

namespace solvane::app {

HardwareBackend HardwareBackend::create(const Options& options, const std::filesystem::path& stateFolder,
                                        const SimulationRun& run) {
    HardwareBackend backend;
    auto sources = hw::loadReplaySources({options.dmiFile, options.spdSlots, options.pciFile});
    if (!sources) {
        backend.error = sources.error();
        return backend;
    }
    if (options.hardware == HardwareKind::Host) {
        if (!options.sysfsRoot.empty() && !std::filesystem::is_directory(options.sysfsRoot)) {
            backend.error = "--sysfs-root " + options.sysfsRoot.string() + ": not a folder";
            return backend;
        }
        if (!options.procRoot.empty() && !std::filesystem::is_directory(options.procRoot)) {
            backend.error = "--proc-root " + options.procRoot.string() + ": not a folder";
            return backend;
        }
        host::HostOptions hostOptions;
        if (!options.sysfsRoot.empty())
            hostOptions.sysfsRoot = options.sysfsRoot;
        if (!options.procRoot.empty())
            hostOptions.procRoot = options.procRoot;
        backend.hardware = host::createHostHardware(hostOptions);
    } else {
        sim::SimulationOptions simulation;
        simulation.boardCode = options.boardCode;
        simulation.stateFolder = stateFolder;
        simulation.clock = run.clock;
        simulation.keepState = run.keepState;
        simulation.seed = options.seed.value_or(1);
        simulation.baseboardVersion = options.baseboardVersion;
        simulation.biosVersion = options.biosVersion;
        if (options.codeOnlyProductName)
            simulation.productNaming = sim::ProductNaming::CodeOnly;
        std::string problem;
        if (!options.cpuLoad.empty() && !(simulation.cpuLoad = sim::parseCpuLoad(options.cpuLoad, problem))) {
            backend.error = "--cpu-load " + options.cpuLoad + ": " + problem;
            return backend;
        }
        if (!options.graphics.empty() &&
            !(simulation.graphics = sim::parseGraphicsVendor(options.graphics))) {
            backend.error = "--graphics " + options.graphics + ": takes nvidia, intel or ati";
            return backend;
        }
        if (!options.memory.empty() &&
            !(simulation.memory = sim::parseMemoryModules(options.memory, problem))) {
            backend.error = "--memory " + options.memory + ": " + problem;
            return backend;
        }
        try {
            auto simulated = std::make_unique<sim::SimulatedHardware>(simulation);
            // A damaged board state file was kept aside; the board starts as from power-on.
            backend.notice = simulated->board().stateProblem();
            backend.hardware = std::move(simulated);
        } catch (const std::exception& refused) {
            backend.error = refused.what();
            return backend;
        }
    }
    backend.hardware = hw::withReplay(std::move(backend.hardware), sources.value());
    backend.driver = std::make_unique<hw::ZubrikDriver>(backend.hardware->machine());
    return backend;
}

} // namespace solvane::app
