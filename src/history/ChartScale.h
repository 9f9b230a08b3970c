#pragma once

#include "history/HistoryChartData.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace solvane::history {

// A value axis from 0 to top with gridlines every step (1, 2 or 5 times a power of ten, about a
// fifth of the way apart), labelled with enough decimals that no two gridlines read the same.
struct AxisScale {
    double top = 0;
    double step = 0;
    int decimals = 0;
};
AxisScale axisScale(double highest);

// The energy axis of the saved-per-day chart: watt-hours below one kilowatt-hour, kilowatt-hours
// from there, with its scale in that unit.
struct EnergyAxis {
    std::string_view unit; // "Wh" or "kWh"
    double perKwh = 1;     // the axis unit's count per kWh
    AxisScale scale;
};
EnergyAxis energyAxis(double highestKwh);

// The energy saved on each of the 30 days the chart shows, oldest first, 0 for a day without
// records, so every bar keeps a day's width however few days have data.
struct DaySaving {
    std::int64_t day = 0;
    double savedKwh = 0;
};
inline constexpr std::size_t kChartDays = 30;
std::array<DaySaving, kChartDays> savedPerDay(const ChartData& data);

} // namespace solvane::history
