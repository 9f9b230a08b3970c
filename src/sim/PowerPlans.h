#pragma once

namespace solvane::sim {

// The power plans the power-saving library switches between, by the mode number it is given: whether
// the operating system lets the clock follow the load, and the highest clock the plan allows.
struct PowerPlan {
    int mode;
    bool frequencyScaling;
    double clockCap;
};

// CPU throttling states: 8 lets the CPU run free, 7 modulates its clock down.
struct ThrottleState {
    int state;
    double clockCap;
};

// Null for a mode or state the library does not know.
const PowerPlan* findPowerPlan(int mode);
const ThrottleState* findThrottleState(int state);

} // namespace solvane::sim
