#include "history/ChartScale.h"

#include "history/IsoTime.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace solvane::history {
namespace {

// The labels an axis shows, as its label format writes them.
std::vector<std::string> tickLabels(const AxisScale& scale) {
    std::vector<std::string> labels;
    for (int k = 0; k * scale.step <= scale.top + 1e-9; ++k) {
        char label[32];
        std::snprintf(label, sizeof label, "%.*f", scale.decimals, k * scale.step);
        labels.emplace_back(label);
    }
    return labels;
}

TEST(ChartScale, TheEnergyAxisTakesItsUnitAndTicksFromTheData) {
    struct Case {
        double highestKwh;
        std::string_view unit;
        double step;
    };
    // Watt-hours below one kilowatt-hour: a day that saved 12 Wh no longer reads 0.00 / 0.01.
    for (const auto& [highest, unit, step] : std::initializer_list<Case>{{0.0, "Wh", 0.2},
                                                                         {0.0123, "Wh", 5},
                                                                         {0.2, "Wh", 50},
                                                                         {0.999, "Wh", 500},
                                                                         {1.0, "kWh", 0.5},
                                                                         {2.5, "kWh", 1},
                                                                         {40, "kWh", 10}}) {
        SCOPED_TRACE(highest);
        const auto axis = energyAxis(highest);
        EXPECT_EQ(axis.unit, unit);
        EXPECT_DOUBLE_EQ(axis.scale.step, step);
        EXPECT_GE(axis.scale.top, highest * axis.perKwh) << "the highest bar fits";
        const auto labels = tickLabels(axis.scale);
        EXPECT_GE(labels.size(), 2U);
        EXPECT_LE(labels.size(), 11U);
        EXPECT_EQ(std::set<std::string>(labels.begin(), labels.end()).size(), labels.size())
            << "no two gridlines read the same: " << labels.back();
    }
    EXPECT_DOUBLE_EQ(energyAxis(0.5).perKwh, 1000);
    EXPECT_DOUBLE_EQ(energyAxis(3).perKwh, 1);
}

TEST(ChartScale, EveryDayOfTheLastThirtyHasABarOfItsOwn) {
    constexpr std::int64_t kToday = 20'000 * kSecondsPerDay;
    ChartData data;
    data.to = kToday + 3600;
    DayRow today;
    today.day = kToday;
    today.savedHundredthWattSeconds = 360'000'000; // 1 kWh
    DayRow earlier;
    earlier.day = kToday - 29 * kSecondsPerDay;
    earlier.savedHundredthWattSeconds = 180'000'000;
    data.days = {earlier, today};

    const auto days = savedPerDay(data);
    ASSERT_EQ(days.size(), 30U);
    EXPECT_EQ(days.front().day, kToday - 29 * kSecondsPerDay);
    EXPECT_EQ(days.back().day, kToday);
    EXPECT_DOUBLE_EQ(days.back().savedKwh, 1.0);
    EXPECT_DOUBLE_EQ(days.front().savedKwh, 0.5);
    for (std::size_t i = 1; i + 1 < days.size(); ++i) {
        EXPECT_DOUBLE_EQ(days[i].savedKwh, 0) << i;
        EXPECT_EQ(days[i].day - days[i - 1].day, kSecondsPerDay) << i;
    }
}

} // namespace
} // namespace solvane::history
