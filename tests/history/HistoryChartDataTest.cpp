// What the history window draws for each span: the minutes of the last hour, day or 30 days ending
// now (an hour's minutes as one point over 30 days, weighted by their refreshes), the limit
// crossings of the span, and the energy of the last 30 days.
#include "history/HistoryChartData.h"

#include "history/IsoTime.h"

#include <gtest/gtest.h>

namespace solvane::history {
namespace {

constexpr std::int64_t kDay = 86400;
// 2026-12-07T12:00:00Z
constexpr std::int64_t kNow = 1796601600 + 12 * 3600;

MinuteRow minute(std::int64_t time, double systemWatts, double savingWatts, int refreshes) {
    MinuteRow row;
    row.time = time;
    row.systemWatts = systemWatts;
    row.savingWatts = savingWatts;
    row.refreshes = refreshes;
    return row;
}

class ChartDataTest : public testing::Test {
protected:
    void SetUp() override {
        auto opened = HistoryStore::openForWriting(":memory:");
        ASSERT_TRUE(opened.store) << opened.notice;
        store = std::move(opened.store);
    }
    void add(const MinuteRow& row) { ASSERT_TRUE(store->write({{row}, {}, std::nullopt})); }

    std::unique_ptr<HistoryStore> store;
};

TEST_F(ChartDataTest, EachSpanEndsNowAndTakesTheMinutesWithinIt) {
    struct Case {
        ChartSpan span;
        std::int64_t seconds;
    };
    for (const auto& [span, seconds] : std::initializer_list<Case>{
             {ChartSpan::Hour, 3600}, {ChartSpan::Day, kDay}, {ChartSpan::Month, 30 * kDay}}) {
        SCOPED_TRACE(seconds);
        SetUp();
        // A minute that began exactly one span ago is out; the next one is in (the span's first
        // second lies within it).
        add(minute(kNow - seconds, 10, 1, 20));
        add(minute(kNow - seconds + 60, 20, 2, 20));
        const auto data = chartData(*store, span, kNow);
        EXPECT_EQ(data.to, kNow);
        EXPECT_EQ(data.from, kNow - seconds + 1);
        ASSERT_EQ(data.points.size(), 1U);
        EXPECT_DOUBLE_EQ(data.points[0].consumptionWatts, 20);
        EXPECT_DOUBLE_EQ(data.points[0].savingWatts, 2);
    }
}

TEST_F(ChartDataTest, TheMinutesOfAPointAreWeightedByTheirRefreshes) {
    const std::int64_t hour = kNow - 2 * 3600;
    add(minute(hour, 100, 10, 10));
    add(minute(hour + 60, 200, 30, 30));
    add(minute(hour + 3600 - 60, 300, 50, 0)); // a minute without a count stands for one refresh
    add(minute(hour + 3600, 80, 8, 20));       // the next hour's point

    const auto month = chartData(*store, ChartSpan::Month, kNow);
    ASSERT_EQ(month.points.size(), 2U);
    EXPECT_EQ(month.points[0].time, hour);
    EXPECT_DOUBLE_EQ(month.points[0].consumptionWatts, (100 * 10 + 200 * 30 + 300) / 41.0);
    EXPECT_DOUBLE_EQ(month.points[0].savingWatts, (10 * 10 + 30 * 30 + 50) / 41.0);
    EXPECT_EQ(month.points[1].time, hour + 3600);
    EXPECT_DOUBLE_EQ(month.points[1].consumptionWatts, 80) << "a new point starts from nothing";

    const auto day = chartData(*store, ChartSpan::Day, kNow);
    ASSERT_EQ(day.points.size(), 4U) << "a point a minute over a day";
    EXPECT_EQ(day.points[1].time, hour + 60);
    EXPECT_DOUBLE_EQ(day.points[1].consumptionWatts, 200);
}

TEST_F(ChartDataTest, CrossingsOfTheSpanAndTheLastThirtyDaysEnergy) {
    ASSERT_TRUE(store->recordAlert({kNow - 3600, "cpu_temperature", 85, 80}));
    ASSERT_TRUE(store->recordAlert({kNow - 3599, "system_power", 260, 250}));
    ASSERT_TRUE(store->recordAlert({kNow, "fan_speed", 500, 600}));
    const std::int64_t today = kNow - kNow % kDay;
    ASSERT_TRUE(
        store->write({{}, {{today - 30 * kDay, 1, 100}, {today - 29 * kDay, 2, 200}, {today, 3, 300}}, {}}));

    const auto data = chartData(*store, ChartSpan::Hour, kNow);
    ASSERT_EQ(data.alerts.size(), 2U);
    EXPECT_EQ(data.alerts[0].limit, "system_power");
    EXPECT_EQ(data.alerts[1].limit, "fan_speed");
    ASSERT_EQ(data.days.size(), 2U) << "the bars cover 30 days, today included";
    EXPECT_EQ(data.days[0].day, today - 29 * kDay);
    EXPECT_EQ(data.days[1].day, today);
}

} // namespace
} // namespace solvane::history
