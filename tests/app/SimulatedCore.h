#pragma once

#include "app/SolvaneCore.h"
#include "platform/MemoryRegistry.h"
#include "sim/SimulatedHardware.h"

#include <functional>
#include <memory>

namespace solvane::test {

// The services a core needs in a test: an in-memory registry of a 64-bit system of the Vista
// generation (or of none, for the "no power-saving library" case), a virtual clock, scripted
// message-box answers and the C library's generator.
struct CoreServices {
    explicit CoreServices(bool vista = true);

    app::SolvaneCore::Services on(hw::Hardware& hardware, std::uint32_t seed,
                                  std::function<void()> requestClose = {});

    platform::MemoryRegistry registry;
    platform::FakeSystemFacts system;
    platform::VirtualClockScheduler clock;
    platform::ScriptedPrompt prompt;
    platform::LcgRandom random;
};

// A simulated board under a steady CPU load, so timings and figures do not follow the host.
struct SimulatedBoardSetup {
    int board = 2917;
    double load = 0.4;
    std::uint32_t seed = 1;
    sim::LibraryFaults faults = {};
    // The board's time; empty: the process's own clock.
    std::function<std::chrono::milliseconds()> clock = {};
    // The firmware's BIOS version; empty: the board's own.
    std::string biosVersion = {};
};
std::unique_ptr<sim::SimulatedHardware> simulatedBoard(const SimulatedBoardSetup& setup);

// A core started on a simulated board under a steady load, the board's time the virtual clock's,
// with its setting commands on.
struct CoreOnBoard {
    CoreOnBoard(int board, double load, std::uint32_t boardSeed, std::uint32_t coreSeed);

    CoreServices services;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    std::unique_ptr<app::SolvaneCore> core;
};

} // namespace solvane::test
