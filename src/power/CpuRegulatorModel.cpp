#include "power/CpuRegulatorModel.h"

#include <algorithm>
#include <array>

namespace solvane::power {

namespace {

// 2915 carries the regulator of 2917 (they share an efficiency table).
constexpr std::array<CpuRegulatorModel, 5> kModels{{
    {2910, 6, 0.25, 0.655, 0.0043},
    {2915, 6, 0.25, 0.575, 0.0014},
    {2916, 5, 0.25, 0.738, 0.0018},
    {2917, 6, 0.25, 0.575, 0.0014},
    {2918, 5, 0.25, 0.730, 0.0012},
}};

} // namespace

double CpuRegulatorModel::lossWatts(double amps, int activePhases) const {
    const int running = std::clamp(activePhases, 1, phases);
    return fixedWatts + switchingWatts * running + amps * amps * phaseOhms / running;
}

double CpuRegulatorModel::efficiency(double amps, double volts, int activePhases) const {
    const double output = std::max(0.0, amps * volts);
    return output > 0 ? output / (output + lossWatts(amps, activePhases)) : 0.0;
}

const CpuRegulatorModel* cpuRegulatorModelFor(int boardCode) {
    const auto found =
        std::find_if(kModels.begin(), kModels.end(),
                     [boardCode](const CpuRegulatorModel& model) { return model.boardCode == boardCode; });
    return found != kModels.end() ? &*found : nullptr;
}

} // namespace solvane::power
