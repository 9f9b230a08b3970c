#include "sim/physics/HostCpuLoad.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace solvane::sim {

namespace {

constexpr std::chrono::milliseconds kSamplePeriod{250};

} // namespace

std::chrono::nanoseconds HostCpuLoad::sinceBoot() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

int HostCpuLoad::processorsOnline() {
    return std::max(1, static_cast<int>(::sysconf(_SC_NPROCESSORS_ONLN)));
}

HostCpuLoad::HostCpuLoad(const std::filesystem::path& uptimeFile, Clock clock, int processors)
    : m_uptimeFile(::open(uptimeFile.c_str(), O_RDONLY | O_CLOEXEC)), m_clock(std::move(clock)),
      m_processors(std::max(1, processors)) {}

HostCpuLoad::~HostCpuLoad() {
    if (m_uptimeFile >= 0)
        ::close(m_uptimeFile);
}

std::optional<HostCpuLoad::Sample> HostCpuLoad::read() const {
    // "33323.46 21144.71\n": seconds since boot, then the processors' idle seconds added up.
    std::array<char, 128> buffer{};
    const ssize_t size = m_uptimeFile < 0 ? -1 : ::pread(m_uptimeFile, buffer.data(), buffer.size(), 0);
    if (size <= 0)
        return std::nullopt;
    const auto taken = m_clock();
    std::string_view text(buffer.data(), static_cast<std::size_t>(size));
    const auto gap = text.find(' ');
    if (gap == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(gap + 1);
    double idle = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), idle);
    if (parsed.ec != std::errc() || !(idle >= 0.0))
        return std::nullopt;
    return Sample{.idleSeconds = idle, .taken = taken};
}

double HostCpuLoad::load(std::chrono::milliseconds now) {
    if (m_sampledAt && now - *m_sampledAt < kSamplePeriod && now >= *m_sampledAt)
        return m_load;
    m_sampledAt = now;
    const auto current = read();
    if (!current)
        return m_load;
    // The first sample gives the share since boot: a figure from the start, where one taken over the
    // first moments would rest on a tick or two of idle time.
    const Sample since = m_previous.value_or(Sample{});
    const std::chrono::duration<double> passed = current->taken - since.taken;
    if (passed.count() > 0.0 && current->idleSeconds >= since.idleSeconds) {
        const double idleShare = (current->idleSeconds - since.idleSeconds) / (passed.count() * m_processors);
        m_load = std::clamp(1.0 - idleShare, 0.0, 1.0);
    }
    m_previous = current;
    return m_load;
}

} // namespace solvane::sim
