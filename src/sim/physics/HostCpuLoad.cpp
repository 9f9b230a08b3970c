#include "sim/physics/HostCpuLoad.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace solvane::sim {

namespace {

constexpr std::chrono::milliseconds kSamplePeriod{250};

} // namespace

HostCpuLoad::HostCpuLoad(const std::filesystem::path& statFile)
    : m_statFile(::open(statFile.c_str(), O_RDONLY | O_CLOEXEC)), m_previous(read()) {}

HostCpuLoad::~HostCpuLoad() {
    if (m_statFile >= 0)
        ::close(m_statFile);
}

std::optional<HostCpuLoad::Counters> HostCpuLoad::read() const {
    // "cpu  user nice system idle iowait irq softirq steal ...": the first line, well inside this.
    std::array<char, 512> buffer{};
    const ssize_t size = m_statFile < 0 ? -1 : ::pread(m_statFile, buffer.data(), buffer.size(), 0);
    if (size <= 0)
        return std::nullopt;
    std::string_view line(buffer.data(), static_cast<std::size_t>(size));
    line = line.substr(0, line.find('\n'));
    if (!line.starts_with("cpu "))
        return std::nullopt;
    line.remove_prefix(4);
    // Idle and iowait (the fourth and fifth) are the CPU doing nothing.
    Counters counters;
    for (int index = 0; index < 8; ++index) {
        line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
        std::uint64_t value = 0;
        const auto parsed = std::from_chars(line.data(), line.data() + line.size(), value);
        if (parsed.ec != std::errc())
            break;
        line.remove_prefix(static_cast<std::size_t>(parsed.ptr - line.data()));
        counters.total += value;
        if (index != 3 && index != 4)
            counters.busy += value;
    }
    if (counters.total == 0)
        return std::nullopt;
    return counters;
}

double HostCpuLoad::load(std::chrono::milliseconds now) {
    if (m_sampledAt && now - *m_sampledAt < kSamplePeriod && now >= *m_sampledAt)
        return m_load;
    m_sampledAt = now;
    const auto current = read();
    if (!current)
        return m_load;
    if (m_previous && current->total > m_previous->total && current->busy >= m_previous->busy) {
        m_load = static_cast<double>(current->busy - m_previous->busy) /
                 static_cast<double>(current->total - m_previous->total);
    } else if (!m_previous) {
        m_load = static_cast<double>(current->busy) / static_cast<double>(current->total);
    }
    if (m_load > 1.0)
        m_load = 1.0;
    m_previous = current;
    return m_load;
}

} // namespace solvane::sim
