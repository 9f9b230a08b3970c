#pragma once

#include <filesystem>
#include <string>

namespace solvane::app {

// Where an export may be written. "-" is standard output; otherwise the file must be absent or a
// regular file with no other name, and none of the files the program keeps in its state folder:
// an export must never replace the history, the settings, a device or a FIFO.
struct ExportTarget {
    bool standardOutput = false;
    std::filesystem::path file; // a link is followed: the file it names is replaced, the link kept
    std::filesystem::perms keptPermissions = std::filesystem::perms::unknown; // of a file replaced
    std::string refusal;                                                      // why it may not be
};
ExportTarget checkExportTarget(const std::filesystem::path& requested,
                               const std::filesystem::path& stateFolder);

} // namespace solvane::app
