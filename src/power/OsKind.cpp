#include "power/OsKind.h"

#include "platform/RegistrySeed.h"

namespace solvane::power {

OsFlavour DetectOsKind(const platform::SystemFacts& system, platform::Registry& registry) {
    if (system.platformId() != platform::PlatformId::Win32Nt)
        return OsFlavour::None;
    // The key is opened with create access, as the program has always done: it exists on every
    // NT system, and creating it fails only where the registry cannot be changed at all.
    const auto key = platform::kWindowsVersionKey;
    if (!registry.keyExists(key) && !registry.createKey(key))
        return OsFlavour::None;
    if (const auto buildLab = registry.readString(key, "BuildLabEx", kOsVersionBufferSize))
        return buildLab->find("amd64") != std::string::npos ? OsFlavour::Vista : OsFlavour::Xp;
    if (const auto version = registry.readString(key, "CurrentVersion", kOsVersionBufferSize))
        return version->find("5.2") != std::string::npos ? OsFlavour::Vista : OsFlavour::Xp;
    return OsFlavour::None;
}

} // namespace solvane::power
