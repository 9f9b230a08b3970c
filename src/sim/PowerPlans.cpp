#include "sim/PowerPlans.h"

namespace solvane::sim {

namespace {

constexpr PowerPlan kPowerPlans[] = {
    {0, false, 1.0}, // always on: the clock stays at its highest
    {3, true, 0.75}, // maximum battery
    {6, true, 1.0},  // balanced
    {7, true, 0.75}, // power saver
    {8, false, 1.0}, // high performance
};
constexpr ThrottleState kThrottleStates[] = {{7, 0.6}, {8, 1.0}};

} // namespace

const PowerPlan* findPowerPlan(int mode) {
    for (const auto& plan : kPowerPlans)
        if (plan.mode == mode)
            return &plan;
    return nullptr;
}

const ThrottleState* findThrottleState(int state) {
    for (const auto& throttle : kThrottleStates)
        if (throttle.state == state)
            return &throttle;
    return nullptr;
}

} // namespace solvane::sim
