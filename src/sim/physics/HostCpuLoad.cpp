#include "sim/physics/HostCpuLoad.h"

#include <fstream>
#include <sstream>
#include <string>

namespace solvane::sim {

namespace {

constexpr std::chrono::milliseconds kSamplePeriod{250};

} // namespace

HostCpuLoad::HostCpuLoad(std::filesystem::path statFile)
    : m_statFile(std::move(statFile)), m_previous(read()) {}

std::optional<HostCpuLoad::Counters> HostCpuLoad::read() const {
    std::ifstream file(m_statFile);
    std::string line;
    if (!std::getline(file, line) || line.rfind("cpu ", 0) != 0)
        return std::nullopt;
    std::istringstream fields(line.substr(4));
    // user nice system idle iowait irq softirq steal: idle and iowait are the CPU doing nothing.
    std::uint64_t value = 0;
    Counters counters;
    for (int index = 0; index < 8 && fields >> value; ++index) {
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
