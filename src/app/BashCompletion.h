#pragma once

#include "app/CommandLineOptions.h"

#include <span>
#include <string>

namespace solvane::app {

// The bash completion of solvane, written from the option table: the options, the words of the
// options that take one of a few words, folders and files for the options that take them.
std::string bashCompletion(std::span<const CommandLineOption> options);

} // namespace solvane::app
