#pragma once

#include "board/CpuRegulators.h"

namespace solvane::power {

// The losses of a board's CPU regulator, a physical model: a fixed part (controller and drivers), a
// switching loss per active phase, and a conduction loss I²R shared by the phases that run, so it
// falls as phases are added. Each board's constants are its record in board/CpuRegulators.h.
struct CpuRegulatorModel : board::CpuRegulator {
    double lossWatts(double amps, int activePhases) const;
    // Output over input at a current and core voltage with the given phases running, 0 to 1.
    double efficiency(double amps, double volts, int activePhases) const;
};

// The board's regulator model; null for boards whose maker gives no efficiency table.
const CpuRegulatorModel* cpuRegulatorModelFor(int boardCode);

} // namespace solvane::power
