#pragma once

#include <filesystem>

namespace solvane::platform {

// Where the registry file, the service table and the simulated board state live:
// $XDG_STATE_HOME/solvane, else ~/.local/state/solvane.
std::filesystem::path defaultStateFolder();

} // namespace solvane::platform
