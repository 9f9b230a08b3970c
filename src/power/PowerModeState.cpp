#include "power/PowerModeState.h"

namespace solvane::power {

std::string_view modeKey(PowerMode mode) {
    switch (mode) {
    case PowerMode::Default:
        return kDefaultModeKey;
    case PowerMode::Optimize:
        return kOptimizeModeKey;
    case PowerMode::Max:
        return kMaxModeKey;
    case PowerMode::None:
        break;
    }
    return {};
}

const SettingVector& PowerModeState::targetsOf(PowerMode mode) const {
    switch (mode) {
    case PowerMode::Optimize:
        return OptimizeTargets;
    case PowerMode::Max:
        return MaxTargets;
    case PowerMode::Default:
    case PowerMode::None:
        break;
    }
    return DefaultTargets;
}

void PowerModeState::selectMode(PowerMode mode) {
    ActiveMode = mode;
    ActiveModeKey = std::string(modeKey(mode));
}

} // namespace solvane::power
