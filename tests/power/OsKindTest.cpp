#include "power/OsKind.h"

#include "platform/MemoryRegistry.h"
#include "platform/RegistrySeed.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

using platform::kWindowsVersionKey;

struct OsKindCase {
    const char* what;
    std::optional<std::string> buildLab;
    std::optional<std::string> version;
    OsFlavour expected;
};

TEST(DetectOsKind, BuildLabFirstThenVersion) {
    const OsKindCase cases[] = {
        {"64-bit build label", "6002.18005.amd64fre.lh_sp2rtm.090410-1830", "6.0", OsFlavour::Vista},
        {"32-bit build label", "6002.18005.x86fre.lh_sp2rtm.090410-1830", "6.0", OsFlavour::Xp},
        {"build label without amd64 on a 5.2 system", "3790.srv03_sp2_rtm.070216-1710", "5.2", OsFlavour::Xp},
        {"no build label, version 5.2", std::nullopt, "5.2", OsFlavour::Vista},
        {"no build label, version 5.1", std::nullopt, "5.1", OsFlavour::Xp},
        {"neither value", std::nullopt, std::nullopt, OsFlavour::None},
        // A build label that does not fit the 500-byte buffer cannot be read.
        {"oversized build label", std::string(500, 'x') + "amd64", "5.1", OsFlavour::Xp},
    };
    for (const auto& c : cases) {
        platform::MemoryRegistry registry;
        registry.createKey(kWindowsVersionKey);
        if (c.buildLab)
            registry.writeString(kWindowsVersionKey, "BuildLabEx", *c.buildLab);
        if (c.version)
            registry.writeString(kWindowsVersionKey, "CurrentVersion", *c.version);
        EXPECT_EQ(DetectOsKind(platform::FakeSystemFacts{}, registry), c.expected) << c.what;
    }
}

TEST(DetectOsKind, NoLibraryOutsideTheNtFamilyOrWithoutTheKey) {
    platform::MemoryRegistry registry;
    registry.writeString(kWindowsVersionKey, "BuildLabEx", "6002.18005.amd64fre");
    platform::FakeSystemFacts windows9x;
    windows9x.platform = platform::PlatformId::Win32Windows;
    EXPECT_EQ(DetectOsKind(windows9x, registry), OsFlavour::None);

    // The key is created when missing; a registry that refuses every change cannot open it.
    platform::MemoryRegistry empty;
    EXPECT_EQ(DetectOsKind(platform::FakeSystemFacts{}, empty), OsFlavour::None);
    EXPECT_TRUE(empty.keyExists(kWindowsVersionKey));
    platform::MemoryRegistry locked;
    locked.setReadOnly(true);
    EXPECT_EQ(DetectOsKind(platform::FakeSystemFacts{}, locked), OsFlavour::None);

    // An existing key opens even when nothing may be written.
    registry.setReadOnly(true);
    EXPECT_EQ(DetectOsKind(platform::FakeSystemFacts{}, registry), OsFlavour::Vista);
}

TEST(DetectOsKind, FollowsTheValuesSeededFromTheHost) {
    for (const auto architecture :
         {platform::ProcessorArchitecture::Amd64, platform::ProcessorArchitecture::Intel}) {
        platform::MemoryRegistry registry;
        platform::FakeSystemFacts facts;
        facts.architecture = architecture;
        platform::seedWindowsValues(registry, facts);
        EXPECT_EQ(DetectOsKind(facts, registry),
                  architecture == platform::ProcessorArchitecture::Amd64 ? OsFlavour::Vista : OsFlavour::Xp);
    }
}

} // namespace
} // namespace solvane::power
