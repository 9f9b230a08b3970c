#pragma once

#include "power/PowerSavingSession.h"
#include "tuning/AdvancedPagePlan.h"

#include <array>
#include <string>
#include <vector>

namespace solvane::tuning {

// Colour indexes of the colour list box's sixteen colours (0x000000 black, 0xFFFFFF white,
// 0x008000 green, 0x800080 purple, 0x0000FF red, 0x00FFFF yellow and 0xFF0000 blue, as 0x00BBGGRR).
namespace list_colour {
inline constexpr int kBlack = 0;
inline constexpr int kWhite = 1;
inline constexpr int kGreen = 3;
inline constexpr int kPurple = 6;
inline constexpr int kRed = 10;
inline constexpr int kYellow = 12;
inline constexpr int kBlue = 13;
} // namespace list_colour

// One entry of an option list: the option index it stands for (the setting value a choice
// stores), its text and its colours.
struct OptionLine {
    int option;
    std::string text;
    int textColour = list_colour::kBlack;
    int backColour = list_colour::kWhite;
};

// The caption of the tuning pages' ">>" buttons until a refresh gives them their value.
inline constexpr std::string_view kValueButtonText = ">>";

// Phase texts by option: "Auto", "2 phase" … "6 phase"; the switch boards' CPU phase texts.
inline constexpr std::array<std::string_view, 6> kPhaseTexts{"Auto",    "2 phase", "3 phase",
                                                             "4 phase", "5 phase", "6 phase"};
inline constexpr std::array<std::string_view, 2> kCpuPhaseSwitchTexts{"Auto", "Disable"};
inline constexpr std::array<std::string_view, 2> kFanTexts{"Disable", "Enable"};
// An LED switch: 0 lets the LED work by itself, 1 turns it off.
inline constexpr std::array<std::string_view, 2> kLedSwitchTexts{"AUTO", "OFF"};

// The entries of a row's option list on the identified board, in list order.
std::vector<OptionLine> optionListLines(const AdvancedRow& row, const power::PowerSavingState& state);

// The two entries of an LED switch's list, "AUTO" and "OFF", the current value white on blue.
std::vector<OptionLine> ledOptionListLines(power::SettingValue current);

// The list position of an option, or -1.
int positionOfOption(const std::vector<OptionLine>& lines, int option);

// The entry shown at the top: the first, or five above the current value once that is 6 or more.
int optionListTop(power::SettingValue current);

} // namespace solvane::tuning
