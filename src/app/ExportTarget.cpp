#include "app/ExportTarget.h"

#include "history/HistoryStore.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

namespace solvane::app {

namespace {

// Files the program keeps in its state folder even before they exist.
constexpr std::array<std::string_view, 2> kKeptNames{history::kHistoryFileName, "registry.reg"};

// The kept file the target is (the same file by another name, or a kept name in the folder).
bool isKeptFile(const std::filesystem::path& target, const struct stat& status, bool exists,
                const std::filesystem::path& stateFolder) {
    std::error_code error;
    const auto folder = std::filesystem::weakly_canonical(stateFolder, error);
    if (std::filesystem::weakly_canonical(target.parent_path(), error) == folder)
        for (const auto name : kKeptNames)
            if (target.filename().string().starts_with(name))
                return true;
    if (!exists)
        return false;
    for (const auto& entry : std::filesystem::directory_iterator(stateFolder, error)) {
        struct stat kept {};
        if (::stat(entry.path().c_str(), &kept) == 0 && kept.st_dev == status.st_dev &&
            kept.st_ino == status.st_ino)
            return true;
    }
    return false;
}

} // namespace

ExportTarget checkExportTarget(const std::filesystem::path& requested,
                               const std::filesystem::path& stateFolder) {
    ExportTarget target;
    if (requested == "-") {
        target.standardOutput = true;
        return target;
    }
    std::error_code error;
    target.file = std::filesystem::weakly_canonical(std::filesystem::absolute(requested, error), error);
    if (error)
        target.file = requested;
    struct stat status {};
    const bool exists = ::stat(target.file.c_str(), &status) == 0;
    if (!exists && errno != ENOENT)
        target.refusal = requested.string() + ": " + std::strerror(errno);
    else if (exists && !S_ISREG(status.st_mode))
        target.refusal = requested.string() + " is not a regular file; give a new file's name or - for "
                                              "standard output";
    else if (isKeptFile(target.file, status, exists, stateFolder))
        target.refusal =
            requested.string() + " is one of the files Solvane keeps its history and settings in";
    else if (exists && status.st_nlink > 1)
        target.refusal =
            requested.string() + " has other names (hard links), which replacing it would cut off";
    else if (exists)
        target.keptPermissions = static_cast<std::filesystem::perms>(status.st_mode & 07777);
    return target;
}

} // namespace solvane::app
