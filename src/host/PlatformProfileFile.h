#pragma once

#include "platform/PowerProfileService.h"

#include <filesystem>

namespace solvane::host {

// The firmware's power profile as the kernel's ACPI platform-profile interface exposes it:
// <sysfs>/firmware/acpi/platform_profile holds the profile in force and takes a new one,
// platform_profile_choices lists the ones the firmware offers, separated by blanks. The only file
// the host back-end ever writes, and only with a name the choices list.
class PlatformProfileFile final : public platform::PowerProfileService {
public:
    explicit PlatformProfileFile(const std::filesystem::path& sysfsRoot);

    std::string_view name() const override { return "platform_profile"; }
    platform::PowerProfileOffer offer() override;
    std::string setProfile(const std::string& profile) override;

private:
    std::filesystem::path m_profileFile;
    std::filesystem::path m_choicesFile;
};

} // namespace solvane::host
