#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::platform {

// Replaces the file at path with contents so that a crash or a kill at any moment leaves either
// the old or the new file whole: temporary file, fsync, rename, fsync of the folder.
// Returns an empty string on success, else what went wrong.
std::string writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

} // namespace solvane::platform
