#pragma once

#include "app/CommandLine.h"
#include "hw/Hardware.h"
#include "hw/driver/ZubrikDriver.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace solvane::app {

// How a simulated board runs: on which clock, and whether it keeps its state on disk.
struct SimulationRun {
    std::function<std::chrono::milliseconds()> clock; // empty: the process's steady clock
    bool keepState = true;
};

// The one place the hardware back-end is chosen: a simulated board or this machine, with real
// dumps standing in for parts of it.
struct HardwareBackend {
    std::unique_ptr<hw::Hardware> hardware;
    std::unique_ptr<hw::ZubrikDriver> driver; // the kernel side of the I/O driver, on that machine
    std::string error;                        // set when the options cannot be served
    std::string notice;                       // something the user should know, the program still runs

    // stateFolder keeps the simulated board's registers and CMOS.
    static HardwareBackend create(const Options& options, const std::filesystem::path& stateFolder,
                                  const SimulationRun& run = {});
};

} // namespace solvane::app
