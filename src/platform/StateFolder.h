#pragma once

#include <filesystem>
#include <string>

namespace solvane::platform {

// A folder the program keeps its files or locks in, and whether it lies where other users could
// have made it first (under the shared temporary folder).
struct ChosenFolder {
    std::filesystem::path path;
    bool shared = false;
};

// Where the registry file, the service table and the simulated board state live:
// $XDG_STATE_HOME/solvane, else ~/.local/state/solvane, else a per-user folder under the temporary
// folder (shared).
ChosenFolder defaultStateFolder();

// Makes a folder for this user alone, or checks the one that is there: it must be a real folder
// (no link), owned by this user and open to nobody else (mode 0700). Empty when it can be used,
// else what is wrong, naming the folder.
std::string preparePrivateFolder(const std::filesystem::path& folder);

} // namespace solvane::platform
