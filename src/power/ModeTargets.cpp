#include "power/ModeTargets.h"

#include <array>
#include <cstdlib>
#include <optional>

namespace solvane::power {

namespace {

// How many options each voltage moves in Max mode; with the boards' option lists every offset
// selects a lower voltage than the default. No clamping: the lists are long enough.
struct MaxOffset {
    Setting setting;
    int offset;
};
constexpr std::array<MaxOffset, 15> kMaxOffsets{{
    {Setting::CpuVoltage, -1},
    {Setting::VttFsbVoltage, -1},
    {Setting::CpuPllVoltage, -4},
    {Setting::GtlRef1Voltage, -4},
    {Setting::GtlRef2Voltage, -4},
    {Setting::DdrVoltage, -3},
    {Setting::DdrVrefCaA, +4},
    {Setting::DdrVrefCaB, +4},
    {Setting::DdrVrefCaC, +4},
    {Setting::DdrVrefDaA, +4},
    {Setting::DdrVrefDaB, +4},
    {Setting::DdrVrefDaC, +4},
    {Setting::MchVoltage, -2},
    {Setting::NbGtlRef, -2},
    {Setting::IchVoltage, -3},
}};

constexpr std::array kAutomaticPhases{Setting::CpuVttdPhase, Setting::CpuPhase, Setting::DdrPhase,
                                      Setting::MchPhase};

SettingValue& slot(SettingVector& vector, Setting setting) {
    return vector[static_cast<std::size_t>(indexOf(setting))];
}

// The voltage an option text shows ("1.340 V", "+0.010 V"); empty for "Auto" and other words.
std::optional<double> optionVoltage(std::string_view text) {
    const std::string copy(text);
    char* end = nullptr;
    const double volts = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str())
        return std::nullopt;
    return volts;
}

// The offset must land on an option with a voltage; a default of "Auto" leaves the board's own
// voltage, which the options an offset reaches from it lie below.
bool selectsLowerVoltage(const OptionList& list, SettingValue target, SettingValue defaultIndex) {
    const auto lower = optionVoltage(list.text(target));
    const auto original = optionVoltage(list.text(defaultIndex));
    return lower && (!original || *lower < *original);
}

} // namespace

void deriveModeTargets(PowerModeState& state, const BoardOptions* options) {
    for (std::size_t i = 0; i < kModeSettingCount; ++i)
        state.OptimizeTargets[i] = state.MaxTargets[i] = state.DefaultTargets[i];
    for (const auto& [setting, offset] : kMaxOffsets) {
        auto& value = slot(state.MaxTargets, setting);
        if (value == kNotPresent)
            continue;
        const SettingValue lowered = value + offset;
        if (options == nullptr || selectsLowerVoltage((*options)[setting], lowered, value))
            value = lowered;
    }
    for (auto* targets : {&state.OptimizeTargets, &state.MaxTargets}) {
        if (auto& fan = slot(*targets, Setting::SmartFan); fan != kNotPresent)
            fan = 1;
        for (const auto phase : kAutomaticPhases)
            if (auto& value = slot(*targets, phase); value != kNotPresent)
                value = 0;
    }
}

std::string formatDefaultSetting(const SettingVector& targets) {
    std::string text;
    for (std::size_t i = 0; i < kModeSettingCount; ++i) {
        text += std::to_string(targets[i]);
        text += ';';
    }
    return text;
}

void WriteSetting(PowerModeState& state, BoardCommands& commands, int index) {
    state.PendingSettingIndex = index;
    commands.send(BoardCommand::WriteSetting);
}

void ReadSetting(PowerModeState& state, BoardCommands& commands, int code) {
    state.ReadRequest = code;
    commands.send(BoardCommand::ReadBack);
}

void ApplyTargets(PowerModeState& state, BoardCommands& commands, const SettingVector& targets) {
    for (std::size_t i = 0; i < kModeSettingCount; ++i) {
        if (targets[i] < 0 || targets[i] == state.CurrentValues[i])
            continue;
        state.CurrentValues[i] = targets[i];
        WriteSetting(state, commands, static_cast<int>(i));
    }
}

void SaveModeSettings(const PowerModeState& state, platform::Registry& registry) {
    if (state.ActiveMode == PowerMode::None)
        return;
    registry.writeString(modeKey(state.ActiveMode), kDefaultSettingValue,
                         formatDefaultSetting(state.targetsOf(state.ActiveMode)));
}

} // namespace solvane::power
