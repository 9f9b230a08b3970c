#pragma once

#include "power/PowerMonitor.h"
#include "power/PowerSavingSession.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::power {

// A read-out of the basic-mode page: the value label's control id, the caption's id and text.
struct BasicReadoutControl {
    int valueId;
    int captionId; // 0 where a heading picture names the value
    std::string_view caption;
};

// The page's read-outs in page order: the totals, the CPU panel, the memory and chipset panel,
// the rails, then the message line.
inline constexpr std::array<BasicReadoutControl, 20> kBasicReadouts{{
    {1057, 1205, "Total Power Saving"},
    {1056, 1206, "Current Power Saving"},
    {1035, 1207, "Power Saving Percentage"},
    {1052, 1208, "Total Power Consumption"},
    {1053, 1146, "Power Consumption"},
    {1054, 1147, "Power Saving"},
    {1055, 1148, "Efficiency"},
    {1034, 1149, "Core Voltage"},
    {1042, 1150, "Temperature"},
    {1045, 1151, "Fan Speed"},
    {1036, 1152, "PWM TRYPH"},
    {1037, 1094, "Memory Voltage"},
    {1038, 1101, "Memory TRYPH"},
    {1039, 1102, "IOH Voltage"},
    {1044, 1153, "IOH Temp."},
    {1041, 1104, "IOH TRYPH"},
    {1040, 1154, "ICH Voltage"},
    {1049, 1155, "3.3V Power\nConsumption"},
    {1050, 1156, "5V Power\nConsumption"},
    {1051, 1157, "12V Power\nConsumption"},
}};
inline constexpr int kMessageLineId = 1043;

struct BasicReadout {
    int valueId;
    std::string caption;
    std::string text;
};

// A read-out's caption on a board: the bridges of 2902, 2905 and 2901 are "NB" and "SB".
std::string_view basicReadoutCaption(int boardCode, const BasicReadoutControl& control);

// The texts of the page after a refresh, with the board's "N/A." read-outs written over the
// computed ones, and the captions the board renames ("NB Voltage", "SB Voltage").
std::vector<BasicReadout> basicPageReadouts(const PowerSavingState& state, const PowerMonitor& monitor);

} // namespace solvane::power
