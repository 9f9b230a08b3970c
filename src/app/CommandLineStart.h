#pragma once

#include "app/CommandLine.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace solvane::app {

// What the program does before it needs a window: the command line's errors, --help, --version,
// the state folder and --report. None of it loads the window system's libraries.
struct CommandLineStart {
    std::optional<int> exitCode; // set when the program is done
    Options options;
    std::filesystem::path stateFolder;
};
CommandLineStart startFromCommandLine(int argc, char* argv[]);

// The seed of the pseudo-random numbers: --seed, else the time.
std::uint32_t seedFrom(const Options& options);

} // namespace solvane::app
