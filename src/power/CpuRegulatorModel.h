#pragma once

namespace solvane::power {

// The losses of a board's CPU regulator, a physical model: a fixed part (controller and drivers), a
// switching loss per active phase, and a conduction loss I²R shared by the phases that run, so it
// falls as phases are added. The constants of each board are calibrated against its efficiency table
// (measured with every phase running at a 1.2 V core): the model stays within 3 points of the table (2918
// within 3.5 points at 1.5, 5.5 and 6.5 A, where its table bends more sharply than any regulator's losses
// can).
struct CpuRegulatorModel {
    int boardCode;
    int phases;            // every phase of the regulator
    double fixedWatts;     // controller and drivers
    double switchingWatts; // per active phase
    double phaseOhms;      // per phase

    double lossWatts(double amps, int activePhases) const;
    // Output over input at a current and core voltage with the given phases running, 0 to 1.
    double efficiency(double amps, double volts, int activePhases) const;
};

// The board's regulator model; null for boards whose maker gives no efficiency table.
const CpuRegulatorModel* cpuRegulatorModelFor(int boardCode);

} // namespace solvane::power
