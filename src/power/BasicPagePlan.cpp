#include "power/BasicPagePlan.h"

#include "board/BoardTraits.h"
#include "power/BasicPageIds.h"

namespace solvane::power {

BasicPagePlan basicPagePlan(int boardCode) {
    BasicPagePlan plan;
    const auto& traits = board::traitsOf(boardCode);
    switch (traits.basicLayout) {
    case board::BasicLayout::CpuRowsOnly:
        // Only the CPU's core voltage, temperature, fan and phase rows remain.
        plan.hiddenRows = {basic_ids::kCpuConsumption, basic_ids::kCpuSaving,    basic_ids::kCpuEfficiency,
                           basic_ids::kMemoryVoltage,  basic_ids::kMemoryPhases, basic_ids::kIohVoltage,
                           basic_ids::kIohTemperature, basic_ids::kIohPhases,    basic_ids::kIchVoltage,
                           basic_ids::kRail33,         basic_ids::kRail5,        basic_ids::kRail12};
        plan.totals = false;
        break;
    case board::BasicLayout::NoBridgePhaseRows:
        plan.hiddenRows = {basic_ids::kMemoryPhases, basic_ids::kIohPhases};
        break;
    case board::BasicLayout::NoPanels:
        plan.totals = false;
        plan.panels = false;
        break;
    case board::BasicLayout::Full:
        break;
    }
    plan.modeButtons = !traits.noModeButtons;
    return plan;
}

} // namespace solvane::power
