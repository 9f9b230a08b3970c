#include "power/BasicPagePlan.h"

namespace solvane::power {

namespace {

constexpr int kMemoryPhaseRow = 1038;
constexpr int kChipsetPhaseRow = 1041;

} // namespace

BasicPagePlan basicPagePlan(int boardCode) {
    BasicPagePlan plan;
    switch (boardCode) {
    case 2912:
    case 2907:
        // Only the CPU's core voltage, temperature, fan and phase rows remain.
        plan.hiddenRows = {1053, 1054, 1055, 1037, 1038, 1039, 1044, 1041, 1040, 1049, 1050, 1051};
        plan.totals = false;
        break;
    case 2904:
        plan.hiddenRows = {kMemoryPhaseRow, kChipsetPhaseRow};
        plan.modeButtons = false;
        break;
    case 2910:
    case 2902:
    case 2905:
    case 2901:
        plan.hiddenRows = {kMemoryPhaseRow, kChipsetPhaseRow};
        break;
    case 2909:
    case 2908:
        plan.totals = false;
        plan.panels = false;
        plan.modeButtons = false;
        break;
    default:
        break;
    }
    return plan;
}

} // namespace solvane::power
