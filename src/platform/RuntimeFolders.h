#pragma once

#include <filesystem>

namespace solvane::platform {

// Where the program finds the files it ships with. In the build folder they all sit beside the
// executable. An installed program keeps them under its prefix, found from the executable's own
// folder so that a prefix moved as a whole still works:
//   PREFIX/bin/solvane      the program
//   PREFIX/lib/solvane/     its two modules: machine code, so under lib like any private library
//   PREFIX/share/solvane/   the skin pictures and I/O driver descriptors, the same on every machine
struct RuntimeFolders {
    std::filesystem::path data;    // skin pictures and driver descriptor files
    std::filesystem::path modules; // the window module and the module of runs without a window
};

// The installed folders relative to the prefix, as the build installs them.
std::filesystem::path installedDataFolder();
std::filesystem::path installedModuleFolder();

// The installed layout when the prefix beside the program folder holds the data folder, else
// everything beside the program (the build folder).
RuntimeFolders runtimeFoldersFor(const std::filesystem::path& programFolder);

} // namespace solvane::platform
