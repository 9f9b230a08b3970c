#include "host/PowercapMeter.h"

#include "host/SysfsFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace solvane::host {

namespace {

constexpr std::string_view kRaplPrefix = "intel-rapl:";
constexpr std::string_view kPackagePrefix = "package";
// The domains shown beside the package, in the order shown; "psys" (the platform) is left out.
constexpr std::array<std::string_view, 3> kDomains{"core", "uncore", "dram"};
constexpr double kJoulesPerMicrojoule = 1e-6;

// A counter's reading, or the errno of the failed read.
struct CounterRead {
    std::optional<std::uint64_t> value;
    int error = 0;
};

CounterRead readCounter(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {std::nullopt, errno};
    std::array<char, 32> text{};
    const auto length = ::read(descriptor, text.data(), text.size() - 1);
    const int error = length < 0 ? errno : 0;
    ::close(descriptor);
    if (length <= 0)
        return {std::nullopt, error != 0 ? error : EIO};
    std::uint64_t value = 0;
    const char* end = text.data() + length;
    const auto [last, parseError] = std::from_chars(text.data(), end, value);
    if (parseError != std::errc() || (last != end && *last != '\n'))
        return {std::nullopt, EINVAL};
    return {value, 0};
}

void markUnreadable(hw::MachineReading& reading, const std::filesystem::path& file, int error) {
    if (error == EACCES || error == EPERM) {
        reading.missing = "needs root: " + file.string();
        reading.reason = hw::MissingReason::NeedsRoot;
    } else if (error == ENOENT) {
        reading.missing = "no energy counter: " + file.string();
        reading.reason = hw::MissingReason::NoCounter;
    } else {
        reading.missing = "unreadable (" + std::string(std::strerror(error)) + "): " + file.string();
        reading.reason = hw::MissingReason::Unreadable;
    }
}

bool isPackage(const std::string& name) {
    return std::string_view(name).starts_with(kPackagePrefix);
}

// The readings of several zones as one: their sum, or the first zone's reason when any is missing.
hw::MachineReading summed(std::string label, const std::vector<hw::MachineReading>& parts) {
    hw::MachineReading total{.label = std::move(label)};
    for (const auto& part : parts) {
        if (!part.value) {
            total.missing = part.missing;
            total.reason = part.reason;
            total.source = part.source;
            total.value.reset();
            return total;
        }
        total.value = total.value.value_or(0.0) + *part.value;
        total.source += (total.source.empty() ? "" : " + ") + part.source;
    }
    return total;
}

} // namespace

std::optional<std::uint64_t> energyAdvanced(std::uint64_t before, std::uint64_t now,
                                            std::optional<std::uint64_t> range) {
    if (now >= before)
        return now - before;
    if (!range || before > *range)
        return std::nullopt;
    return *range - before + now;
}

PowercapMeter::PowercapMeter(const std::filesystem::path& sysfsRoot)
    : m_powercap(sysfsRoot / "class" / "powercap") {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_powercap, error)) {
        const std::string id = entry.path().filename().string();
        if (!std::string_view(id).starts_with(kRaplPrefix))
            continue;
        Zone zone{
            .id = id, .name = readSysfsText(entry.path() / "name").value_or(""), .folder = entry.path()};
        zone.range = readCounter(entry.path() / "max_energy_range_uj").value;
        m_zones.push_back(std::move(zone));
    }
    std::sort(m_zones.begin(), m_zones.end(), [](const Zone& a, const Zone& b) { return a.id < b.id; });
}

hw::MachineReading PowercapMeter::zonePower(Zone& zone, double seconds) {
    hw::MachineReading reading{.label = zone.name, .source = "powercap " + zone.id + " (" + zone.name + ")"};
    const auto file = zone.folder / "energy_uj";
    const auto counter = readCounter(file);
    if (!counter.value) {
        zone.lastEnergy.reset();
        markUnreadable(reading, file, counter.error);
        return reading;
    }
    const auto before = std::exchange(zone.lastEnergy, counter.value);
    const double interval = seconds - std::exchange(zone.lastSeconds, seconds);
    if (!before || interval <= 0) {
        reading.missing = "measuring: the power shows from the next refresh on";
        reading.reason = hw::MissingReason::Measuring;
        return reading;
    }
    const auto advanced = energyAdvanced(*before, *counter.value, zone.range);
    if (!advanced) {
        reading.missing = "the counter went back without a known range: " + file.string();
        reading.reason = hw::MissingReason::Unreadable;
        return reading;
    }
    if (*advanced == 0) {
        reading.missing = "the counter did not advance since the previous reading: " + file.string();
        reading.reason = hw::MissingReason::NoCounter;
        return reading;
    }
    reading.value = static_cast<double>(*advanced) * kJoulesPerMicrojoule / interval;
    return reading;
}

PowercapMeter::Powers PowercapMeter::read(double seconds) {
    std::vector<hw::MachineReading> packages;
    std::array<std::vector<hw::MachineReading>, kDomains.size()> domains;
    for (auto& zone : m_zones) {
        auto power = zonePower(zone, seconds);
        if (isPackage(zone.name)) {
            packages.push_back(std::move(power));
            continue;
        }
        const auto domain = std::find(kDomains.begin(), kDomains.end(), zone.name);
        if (domain != kDomains.end())
            domains[static_cast<std::size_t>(domain - kDomains.begin())].push_back(std::move(power));
    }
    Powers powers;
    if (packages.empty())
        powers.package = {.label = "package",
                          .missing = "no CPU power counter on this machine (" + m_powercap.string() +
                                     " has no RAPL package zone)",
                          .reason = hw::MissingReason::NoCounter};
    else
        powers.package = summed("package", packages);
    for (std::size_t i = 0; i < kDomains.size(); ++i)
        if (!domains[i].empty())
            powers.domains.push_back(summed(std::string(kDomains[i]), domains[i]));
    return powers;
}

} // namespace solvane::host
