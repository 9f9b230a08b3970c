#pragma once

#include "platform/Registry.h"
#include "platform/SystemFacts.h"

#include <string_view>

namespace solvane::platform {

// Where Windows keeps the values the program reads about the operating system.
inline constexpr std::string_view kWindowsVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr std::string_view kEnvironmentKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\";

// On first run, fills in the Windows version values the program reads ("BuildLabEx",
// "CurrentVersion") from the host, so that the operating-system decisions follow the machine it
// really runs on. Values already present are left as they are, so a user or a test can set them.
void seedWindowsValues(Registry& registry, const SystemFacts& facts);

// Sets "NUMBER_OF_PROCESSORS" to the processors of the machine the hardware back-end is (the host or
// a simulated board), as the system sets it at every start; an equal value is not written again.
void setProcessorCount(Registry& registry, unsigned processors);

} // namespace solvane::platform
