#pragma once

#include "board/PlatformInfo.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"

namespace solvane::power {

// Reads of the version values go through a buffer of this size.
inline constexpr std::size_t kOsVersionBufferSize = 500;

// Which power-saving library the operating system calls for, from the version values under
// SOFTWARE\Microsoft\Windows NT\CurrentVersion (seeded from the host on first run): a 64-bit build
// label ("amd64" in "BuildLabEx") or, without a build label, version 5.2 selects the Vista library;
// any other readable value the XP library. None when the system is not of the NT family, the key
// cannot be opened, or neither value can be read.
OsFlavour DetectOsKind(const platform::SystemFacts& system, platform::Registry& registry);

} // namespace solvane::power
