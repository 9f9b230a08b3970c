#include "history/ChartScale.h"

#include "history/IsoTime.h"

#include <algorithm>
#include <cmath>

namespace solvane::history {

namespace {

// An empty chart still gets a readable axis.
constexpr double kLeastTop = 1.0;
// Room above the highest value, so the top bar or line does not touch the frame.
constexpr double kHeadroom = 1.15;
constexpr double kWhPerKwh = 1000;

} // namespace

AxisScale axisScale(double highest) {
    const double top = std::max(highest * kHeadroom, kLeastTop);
    const double rough = top / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = magnitude;
    for (const double factor : {2.0, 5.0, 10.0})
        if (step < rough)
            step = factor * magnitude;
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    return {top, step, decimals};
}

EnergyAxis energyAxis(double highestKwh) {
    const bool kwh = highestKwh >= 1.0;
    const double perKwh = kwh ? 1.0 : kWhPerKwh;
    return {kwh ? "kWh" : "Wh", perKwh, axisScale(highestKwh * perKwh)};
}

std::array<DaySaving, kChartDays> savedPerDay(const ChartData& data) {
    std::array<DaySaving, kChartDays> days{};
    const std::int64_t lastDay = data.to - data.to % kSecondsPerDay;
    for (std::size_t i = 0; i < kChartDays; ++i)
        days[i].day = lastDay - static_cast<std::int64_t>(kChartDays - 1 - i) * kSecondsPerDay;
    for (const auto& row : data.days) {
        const auto found = std::find_if(days.begin(), days.end(),
                                        [&row](const DaySaving& day) { return day.day == row.day; });
        if (found != days.end())
            found->savedKwh += row.savedKwh();
    }
    return days;
}

} // namespace solvane::history
