#pragma once

#include "platform/Registry.h"
#include "platform/SystemFacts.h"

#include <string_view>

namespace solvane::platform {

// Where Windows keeps the values the program reads about the operating system.
inline constexpr std::string_view kWindowsVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr std::string_view kEnvironmentKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\";

// On first run, fills in the Windows values the program reads ("BuildLabEx", "CurrentVersion",
// "NUMBER_OF_PROCESSORS") from the host, so that the operating-system decisions follow the machine
// it really runs on. Values already present are left as they are, so a user or a test can set them.
void seedWindowsValues(Registry& registry, const SystemFacts& facts);

} // namespace solvane::platform
