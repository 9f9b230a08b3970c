#pragma once

#include "app/CommandLine.h"

#include <filesystem>

namespace solvane::app {

// --export-history: the history in the state folder as a CSV file. Exit code 0, or 1 with a message.
int runHistoryExport(const Options& options, const std::filesystem::path& stateFolder);

} // namespace solvane::app
