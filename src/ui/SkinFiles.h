#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace solvane::ui::skin {

// Every skin file the program needs from its folder, by file name.
std::vector<std::string> requiredSkinFiles();

// The required skin files that are not in folder.
std::vector<std::string> missingSkinFiles(const std::filesystem::path& folder);

// What to tell the user about missing files: which (the first few, then how many more) and
// where they were looked for.
std::string describeMissingSkinFiles(const std::vector<std::string>& missing,
                                     const std::filesystem::path& folder);

} // namespace solvane::ui::skin
