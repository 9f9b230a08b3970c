#include "power/BasicPagePlan.h"

#include "power/BasicPageIds.h"

namespace solvane::power {

BasicPagePlan basicPagePlan(int boardCode) {
    BasicPagePlan plan;
    switch (boardCode) {
    case 2912:
    case 2907:
        // Only the CPU's core voltage, temperature, fan and phase rows remain.
        plan.hiddenRows = {basic_ids::kCpuConsumption, basic_ids::kCpuSaving,    basic_ids::kCpuEfficiency,
                           basic_ids::kMemoryVoltage,  basic_ids::kMemoryPhases, basic_ids::kIohVoltage,
                           basic_ids::kIohTemperature, basic_ids::kIohPhases,    basic_ids::kIchVoltage,
                           basic_ids::kRail33,         basic_ids::kRail5,        basic_ids::kRail12};
        plan.totals = false;
        break;
    case 2904:
        plan.hiddenRows = {basic_ids::kMemoryPhases, basic_ids::kIohPhases};
        plan.modeButtons = false;
        break;
    case 2910:
    case 2902:
    case 2905:
    case 2901:
        plan.hiddenRows = {basic_ids::kMemoryPhases, basic_ids::kIohPhases};
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
