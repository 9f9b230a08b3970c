#include "host/PlatformProfileFile.h"

#include "host/SysfsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

namespace solvane::host {

PlatformProfileFile::PlatformProfileFile(const std::filesystem::path& sysfsRoot)
    : m_profileFile(sysfsRoot / "firmware/acpi/platform_profile"),
      m_choicesFile(sysfsRoot / "firmware/acpi/platform_profile_choices") {}

platform::PowerProfileOffer PlatformProfileFile::offer() {
    platform::PowerProfileOffer offer;
    const auto active = readSysfsText(m_profileFile);
    if (!active) {
        offer.problem = "no platform_profile";
        return offer;
    }
    if (::access(m_profileFile.c_str(), W_OK) != 0) {
        offer.problem = std::string("platform_profile is not writable: ") + std::strerror(errno);
        return offer;
    }
    const auto choices = readSysfsText(m_choicesFile);
    std::istringstream names(choices.value_or(""));
    for (std::string name; names >> name;)
        offer.profiles.push_back(name);
    if (offer.profiles.empty()) {
        offer.problem = "platform_profile_choices lists no profile";
        return offer;
    }
    offer.active = *active;
    return offer;
}

std::string PlatformProfileFile::setProfile(const std::string& profile) {
    const auto offered = offer();
    if (!offered.problem.empty())
        return offered.problem;
    if (std::ranges::find(offered.profiles, profile) == offered.profiles.end())
        return "the firmware does not offer the power profile \"" + profile + "\"";
    // sysfs takes the whole value in one write; the file is never created here.
    const int file = ::open(m_profileFile.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (file < 0)
        return std::string("cannot write platform_profile: ") + std::strerror(errno);
    const std::string line = profile + "\n";
    const auto written = ::write(file, line.data(), line.size());
    const int error = errno;
    ::close(file);
    if (written != static_cast<ssize_t>(line.size()))
        return std::string("cannot write platform_profile: ") + std::strerror(written < 0 ? error : EIO);
    return {};
}

} // namespace solvane::host
