#include "sim/physics/ScriptedCpuLoad.h"

#include <algorithm>

namespace solvane::sim {

ScriptedCpuLoad::ScriptedCpuLoad(std::vector<double> loads, std::chrono::milliseconds step)
    : m_loads(std::move(loads)), m_step(std::max(step, std::chrono::milliseconds(1))) {
    if (m_loads.empty())
        m_loads.push_back(0.0);
    for (auto& load : m_loads)
        load = std::clamp(load, 0.0, 1.0);
}

double ScriptedCpuLoad::load(std::chrono::milliseconds now) {
    const auto steps = std::max<std::int64_t>(now.count(), 0) / m_step.count();
    return m_loads[static_cast<std::size_t>(steps % static_cast<std::int64_t>(m_loads.size()))];
}

} // namespace solvane::sim
