#pragma once

#include "app/CommandLine.h"
#include "hw/Hardware.h"
#include "hw/ZubrikDriver.h"

#include <filesystem>
#include <memory>
#include <string>

namespace solvane::app {

// The one place the hardware back-end is chosen: a simulated board or this machine, with real
// dumps standing in for parts of it.
struct HardwareBackend {
    std::unique_ptr<hw::Hardware> hardware;
    std::unique_ptr<hw::ZubrikDriver> driver; // the kernel side of the I/O driver, on that machine
    std::string error;                        // set when the options cannot be served
    std::string notice;                       // something the user should know, the program still runs

    // Whether the simulated board writes its registers and CMOS back to the state folder.
    enum class BoardState { Kept, ReadOnly };

    // stateFolder keeps the simulated board's registers and CMOS.
    static HardwareBackend create(const Options& options, const std::filesystem::path& stateFolder,
                                  BoardState boardState = BoardState::Kept);
};

} // namespace solvane::app
