#include "tuning/OptionListLines.h"

#include "board/BoardTraits.h"
#include "hw/VoltageLimits.h"

#include <algorithm>
#include <span>

namespace solvane::tuning {

namespace colour = list_colour;

namespace {

struct Colours {
    int text;
    int back;
};
constexpr Colours kCurrent{colour::kWhite, colour::kBlue};
constexpr Colours kOutOfRange{colour::kWhite, colour::kRed};
constexpr Colours kUnstable{colour::kPurple, colour::kYellow};
constexpr Colours kDefault{colour::kGreen, colour::kWhite};
constexpr Colours kPlain{colour::kBlack, colour::kWhite};

Colours voltageColours(int k, power::SettingValue current, power::SettingValue byDefault,
                       const std::optional<hw::VoltageLimits>& limits) {
    if (k == current)
        return kCurrent;
    if (limits) {
        if (k < limits->lowest || k >= limits->highest)
            return kOutOfRange;
        if (k >= limits->stable)
            return kUnstable;
    }
    return k == byDefault ? kDefault : kPlain;
}

void addTexts(std::vector<OptionLine>& lines, std::span<const std::string_view> texts, int count,
              power::SettingValue current) {
    count = std::clamp(count, 0, static_cast<int>(texts.size()));
    for (int k = 0; k < count; ++k) {
        const auto colours = k == current ? kCurrent : kPlain;
        lines.push_back({k, std::string(texts[static_cast<std::size_t>(k)]), colours.text, colours.back});
    }
}

} // namespace

std::vector<OptionLine> optionListLines(const AdvancedRow& row, const power::PowerSavingState& state) {
    const auto slot = static_cast<std::size_t>(row.setting);
    const auto setting = static_cast<power::Setting>(row.setting);
    const auto current = state.modes.CurrentValues[slot];
    const auto byDefault = state.modes.DefaultTargets[slot];
    const int board = state.platform.BoardCode;
    std::vector<OptionLine> lines;
    switch (row.kind) {
    case ListKind::Voltage:
    case ListKind::Reference: {
        const auto limits = row.kind == ListKind::Voltage ? hw::voltageLimits(board, setting)
                                                          : std::optional<hw::VoltageLimits>();
        const auto& texts = state.options.lists[slot].texts;
        for (std::size_t k = 0; k < texts.size(); ++k) {
            const auto colours = voltageColours(static_cast<int>(k), current, byDefault, limits);
            lines.push_back({static_cast<int>(k), texts[k], colours.text, colours.back});
        }
        break;
    }
    case ListKind::Phase:
        addTexts(lines, kPhaseTexts, state.routines.levelCount(setting), current);
        // The memory phase of 2915 has no two-phase option; each entry keeps its option index.
        if (board::traitsOf(board).memoryPhaseWithoutTwo && setting == power::Setting::DdrPhase)
            std::erase_if(lines, [](const OptionLine& line) { return line.option == 1; });
        break;
    case ListKind::CpuPhase:
        if (board::traitsOf(board).cpuPhaseIsSwitch)
            addTexts(lines, kCpuPhaseSwitchTexts, state.routines.levelCount(setting), current);
        else
            addTexts(lines, kPhaseTexts, state.routines.levelCount(setting), current);
        break;
    case ListKind::Fan:
        addTexts(lines, kFanTexts, static_cast<int>(kFanTexts.size()), current);
        break;
    case ListKind::LedSwitch:
        return ledOptionListLines(current);
    }
    return lines;
}

std::vector<OptionLine> ledOptionListLines(power::SettingValue current) {
    std::vector<OptionLine> lines;
    addTexts(lines, kLedSwitchTexts, static_cast<int>(kLedSwitchTexts.size()), current);
    return lines;
}

int positionOfOption(const std::vector<OptionLine>& lines, int option) {
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [option](const OptionLine& line) { return line.option == option; });
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

int optionListTop(power::SettingValue current) {
    return current < 6 ? 0 : current - 5;
}

} // namespace solvane::tuning
