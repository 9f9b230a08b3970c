#include "platform/StateFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace solvane::platform {

ChosenFolder defaultStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/')
        return {std::filesystem::path(state) / "solvane", false};
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return {std::filesystem::path(home) / ".local" / "state" / "solvane", false};
    return {std::filesystem::temp_directory_path() / ("solvane-state-" + std::to_string(::getuid())), true};
}

std::string preparePrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot create the folder " + folder.string() + ": " + std::strerror(errno);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return "cannot use the folder " + folder.string() + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return folder.string() + " is not a folder (another user may have put it there)";
    if (info.st_uid != ::geteuid())
        return "the folder " + folder.string() + " belongs to another user";
    if ((info.st_mode & 077) != 0)
        return "the folder " + folder.string() + " is open to other users (it must have mode 0700)";
    return {};
}

} // namespace solvane::platform
