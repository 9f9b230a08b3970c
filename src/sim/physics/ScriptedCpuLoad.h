#pragma once

#include "sim/physics/CpuLoadSource.h"

#include <vector>

namespace solvane::sim {

// A load that steps through fixed values, each held for one step and then the next, round and round;
// one value makes a constant load.
class ScriptedCpuLoad final : public CpuLoadSource {
public:
    explicit ScriptedCpuLoad(std::vector<double> loads,
                             std::chrono::milliseconds step = std::chrono::milliseconds(30000));
    double load(std::chrono::milliseconds now) override;

private:
    std::vector<double> m_loads;
    std::chrono::milliseconds m_step;
};

} // namespace solvane::sim
