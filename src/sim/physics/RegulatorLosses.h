#pragma once

namespace solvane::sim {

// A switching regulator's losses, a physical model: a fixed part (controller and drivers), a
// switching loss per active phase (gate charge and the inductor's core, paid whatever the current),
// a conduction loss I²R shared by the phases that run (so it falls with more phases), and a share of
// the output lost in proportion to it. Fields: controllerWatts, switchingWatts (per active phase),
// phaseOhms (per phase), proportional (share of the output), ampsPerPhase (the current per phase at
// which a free-running regulator adds a phase).
struct RegulatorLosses {
    double controllerWatts;
    double switchingWatts;
    double phaseOhms;
    double proportional;
    double ampsPerPhase;

    constexpr double lossWatts(double amps, double outputWatts, int phases) const {
        return controllerWatts + switchingWatts * phases + amps * amps * phaseOhms / phases +
               proportional * outputWatts;
    }
};

// CPU regulators of boards without the maker's efficiency table.
inline constexpr RegulatorLosses kCoreLosses{0.25, 0.40, 0.0032, 0.025, 20.0};
// The maker's CPU regulators, calibrated against each board's efficiency table (measured with every
// phase running at a 1.2 V core): within 3 points of it (2918 within 3.5 at 1.5, 5.5 and 6.5 A).
// These are the simulated hardware's own and stay here on purpose: the program keeps its model of
// the same regulators in its board records (board/CpuRegulators.h), and the figures it shows are
// held against these, an independent account of what the board really loses.
inline constexpr RegulatorLosses kCoreLosses2918{0.25, 0.730, 0.0012, 0.0, 20.0};
inline constexpr RegulatorLosses kCoreLosses2917{0.25, 0.575, 0.0014, 0.0, 20.0}; // 2917 and 2915
inline constexpr RegulatorLosses kCoreLosses2916{0.25, 0.738, 0.0018, 0.0, 20.0};
inline constexpr RegulatorLosses kCoreLosses2910{0.25, 0.655, 0.0043, 0.0, 20.0};
// The memory, chipset and VTT regulators.
inline constexpr RegulatorLosses kSmallLosses{0.08, 0.12, 0.008, 0.03, 6.0};

} // namespace solvane::sim
