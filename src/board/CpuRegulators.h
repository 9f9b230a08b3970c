#pragma once

#include <array>

namespace solvane::board {

// The CPU regulator of each board whose maker gives an efficiency table, as the program models its
// losses: a fixed part (controller and drivers), a switching loss per active phase and a conduction
// loss I²R shared by the phases that run. The constants are calibrated against each board's table
// (measured with every phase running at a 1.2 V core): within 3 points of it (2918 within 3.5 points
// at 1.5, 5.5 and 6.5 A, where its table bends more sharply than any regulator's losses can).
//   code            the four-digit board code
//   phases          every phase of the regulator
//   fixedWatts      controller and drivers
//   switchingWatts  per active phase
//   phaseOhms       per phase
//   loadLineOhms    how far the core voltage droops below the regulator's setpoint per ampere
//                   delivered (the load line the processor's maker prescribes for its socket)
struct CpuRegulator {
    int code = 0;
    int phases = 0;
    double fixedWatts = 0.0;
    double switchingWatts = 0.0;
    double phaseOhms = 0.0;
    double loadLineOhms = 0.0;
};

// 2915 carries the regulator of 2917 (they share an efficiency table).
inline constexpr std::array<CpuRegulator, 5> kCpuRegulators{{
    {2910, 6, 0.25, 0.655, 0.0043, 0.0008},
    {2915, 6, 0.25, 0.575, 0.0014, 0.0008},
    {2916, 5, 0.25, 0.738, 0.0018, 0.0008},
    {2917, 6, 0.25, 0.575, 0.0014, 0.0008},
    {2918, 5, 0.25, 0.730, 0.0012, 0.0008},
}};

} // namespace solvane::board
