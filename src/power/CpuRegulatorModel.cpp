#include "power/CpuRegulatorModel.h"

#include <algorithm>
#include <array>

namespace solvane::power {

namespace {

constexpr auto kModels = [] {
    std::array<CpuRegulatorModel, board::kCpuRegulators.size()> models{};
    for (std::size_t i = 0; i < models.size(); ++i)
        models[i] = CpuRegulatorModel{board::kCpuRegulators[i]};
    return models;
}();

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
                     [boardCode](const CpuRegulatorModel& model) { return model.code == boardCode; });
    return found != kModels.end() ? &*found : nullptr;
}

} // namespace solvane::power
