#include "platform/RuntimeFolders.h"

#include <system_error>

namespace solvane::platform {

std::filesystem::path installedDataFolder() {
    return SOLVANE_INSTALL_DATA_DIR;
}

std::filesystem::path installedModuleFolder() {
    return SOLVANE_INSTALL_MODULE_DIR;
}

RuntimeFolders runtimeFoldersFor(const std::filesystem::path& programFolder) {
    // The program is installed in PREFIX/bin.
    const auto prefix = programFolder.parent_path();
    const auto data = (prefix / installedDataFolder()).lexically_normal();
    std::error_code error;
    if (programFolder.filename() == "bin" && std::filesystem::is_directory(data, error))
        return {data, (prefix / installedModuleFolder()).lexically_normal()};
    return {programFolder, programFolder};
}

} // namespace solvane::platform
