#include "platform/StateFolder.h"

#include <cstdlib>

namespace solvane::platform {

std::filesystem::path defaultStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/')
        return std::filesystem::path(state) / "solvane";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".local" / "state" / "solvane";
    return std::filesystem::temp_directory_path() / "solvane-state";
}

} // namespace solvane::platform
