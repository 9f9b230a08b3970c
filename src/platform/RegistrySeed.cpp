#include "platform/RegistrySeed.h"

#include <string>

namespace solvane::platform {

namespace {

void seedString(Registry& registry, std::string_view key, std::string_view name, std::string_view text) {
    if (!registry.readString(key, name))
        registry.writeString(key, name, text);
}

} // namespace

void seedWindowsValues(Registry& registry, const SystemFacts& facts) {
    const auto architecture = facts.nativeArchitecture().value_or(ProcessorArchitecture::Intel);
    // A Vista-generation build label: the flavour part ("amd64fre" or "x86fre") tells 64-bit from 32-bit.
    const std::string buildLab = architecture == ProcessorArchitecture::Amd64
                                     ? "6002.18005.amd64fre.lh_sp2rtm.090410-1830"
                                     : "6002.18005.x86fre.lh_sp2rtm.090410-1830";
    seedString(registry, kWindowsVersionKey, "BuildLabEx", buildLab);
    seedString(registry, kWindowsVersionKey, "CurrentVersion", "6.0");
}

void setProcessorCount(Registry& registry, unsigned processors) {
    const auto text = std::to_string(processors);
    if (registry.readString(kEnvironmentKey, "NUMBER_OF_PROCESSORS") != text)
        registry.writeString(kEnvironmentKey, "NUMBER_OF_PROCESSORS", text);
}

} // namespace solvane::platform
