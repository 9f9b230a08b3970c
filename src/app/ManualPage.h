#pragma once

#include "app/CommandLineOptions.h"

#include <span>
#include <string>
#include <string_view>

namespace solvane::app {

// The manual page solvane(1) in roff, its OPTIONS section written from the option table, so that
// it says what --help says.
std::string manualPage(std::span<const CommandLineOption> options, std::string_view version);

// Text made safe for roff: backslashes and minus signs escaped, a leading control character
// neutralised.
std::string roffText(std::string_view text);

} // namespace solvane::app
