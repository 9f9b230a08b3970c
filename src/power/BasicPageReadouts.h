#pragma once

#include "power/BasicPageIds.h"
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
    {basic_ids::kTotalSaving, 1205, "Total Power Saving"},
    {basic_ids::kCurrentSaving, 1206, "Current Power Saving"},
    {basic_ids::kSavingPercentage, 1207, "Power Saving Percentage"},
    {basic_ids::kTotalConsumption, 1208, "Total Power Consumption"},
    {basic_ids::kCpuConsumption, 1146, "Power Consumption"},
    {basic_ids::kCpuSaving, 1147, "Power Saving"},
    {basic_ids::kCpuEfficiency, 1148, "Efficiency"},
    {basic_ids::kCoreVoltage, 1149, "Core Voltage"},
    {basic_ids::kCpuTemperature, 1150, "Temperature"},
    {basic_ids::kFanSpeed, 1151, "Fan Speed"},
    {basic_ids::kCpuPhases, 1152, "PWM TRYPH"},
    {basic_ids::kMemoryVoltage, 1094, "Memory Voltage"},
    {basic_ids::kMemoryPhases, 1101, "Memory TRYPH"},
    {basic_ids::kIohVoltage, basic_ids::kIohVoltageCaption, "IOH Voltage"},
    {basic_ids::kIohTemperature, 1153, "IOH Temp."},
    {basic_ids::kIohPhases, 1104, "IOH TRYPH"},
    {basic_ids::kIchVoltage, basic_ids::kIchVoltageCaption, "ICH Voltage"},
    {basic_ids::kRail33, 1155, "3.3V Power\nConsumption"},
    {basic_ids::kRail5, 1156, "5V Power\nConsumption"},
    {basic_ids::kRail12, 1157, "12V Power\nConsumption"},
}};

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
