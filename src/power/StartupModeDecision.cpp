#include "power/StartupModeDecision.h"

#include "board/BoardTraits.h"
#include "power/ModeTargets.h"

#include <charconv>
#include <string>

namespace solvane::power {

namespace {

// The number a decimal string starts with, as the C library's atoi reads it (0 when none).
int leadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

void decideStartupMode(PowerModeState& state, platform::Registry& registry, int boardCode,
                       const std::function<void(PowerMode)>& applyMode) {
    const std::string fallback =
        board::foundWith(boardCode, &board::BoardTraits::enabledByDefault) ? "1" : "0";
    const auto enabled = registry.readString(kProductKey, kEnableSolvaneValue).value_or(fallback);
    switch (leadingNumber(enabled)) {
    case 0:
        state.selectMode(PowerMode::Default);
        break;
    case 1:
        state.selectMode(PowerMode::Optimize);
        break;
    case 2:
        state.selectMode(PowerMode::Max);
        break;
    default:
        state.ActiveMode = PowerMode::None;
        break;
    }

    const auto normalEnd = registry.readString(kProductKey, kNormalEndValue).value_or("0");
    registry.writeString(kProductKey, kNormalEndValue, "0");

    if (normalEnd != "1") {
        // The previous run crashed or was killed while a mode may have been half applied.
        state.selectMode(PowerMode::Default);
        registry.writeString(kProductKey, kEnableSolvaneValue, "0");
        return;
    }
    switch (state.ActiveMode) {
    case PowerMode::Optimize:
    case PowerMode::Max:
        applyMode(state.ActiveMode);
        break;
    case PowerMode::Default:
        SaveModeSettings(state, registry);
        break;
    case PowerMode::None:
        break;
    }
}

} // namespace solvane::power
