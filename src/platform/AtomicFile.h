#pragma once

#include "platform/FileCalls.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::platform {

// Replaces the file at path with contents so that a crash or a kill at any moment leaves either
// the old or the new file whole: a fresh temporary file beside it (created exclusively, so no
// planted link or existing file is ever written through), fsync, rename, fsync of the folder.
// A failed attempt leaves no temporary file behind.
// Returns an empty string on success, else what went wrong.
std::string writeFileAtomically(const std::filesystem::path& path, std::string_view contents,
                                FileCalls& calls = systemFileCalls());

// What reading a file the program keeps gave.
struct FileRead {
    enum class Status {
        Read,    // contents holds the whole file
        Missing, // there is no file at the path (a new one may be started)
        Failed,  // something is there but cannot be used: error says what, with the file's name
    };
    Status status = Status::Missing;
    std::string contents;
    std::string error;
};

// Reads a file the program keeps. Only a regular file is read: a folder, a device or a FIFO is
// refused without waiting on it.
FileRead readKeptFile(const std::filesystem::path& path);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Moves a file that cannot be used out of the way, to the first free name of the form
// "<file><suffix>", "<file><suffix>-2", …; an existing file is never replaced. The new name, or
// nothing when the file could not be moved (error says why).
std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file, std::string_view suffix,
                                               std::string& error);

} // namespace solvane::platform
