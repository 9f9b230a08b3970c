#pragma once

#include "history/HistoryStore.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::history {

// The spans the history window shows, ending now.
enum class ChartSpan { Hour, Day, Month };

struct ChartSpanDefinition {
    ChartSpan span;
    std::string_view caption;
    std::int64_t seconds;
    std::int64_t pointSeconds; // one point per minute, or per hour over 30 days
};
inline constexpr std::array<ChartSpanDefinition, 3> kChartSpans{{
    {ChartSpan::Hour, "Last hour", 3600, 60},
    {ChartSpan::Day, "Last day", 86400, 60},
    {ChartSpan::Month, "Last 30 days", 30 * 86400, 3600},
}};

struct ChartPoint {
    std::int64_t time = 0; // the point's first second, UTC
    double consumptionWatts = 0;
    double savingWatts = 0;
};

// What the window draws for a span: consumption and saving, the limit crossings, and the energy
// saved per day over the last 30 days.
struct ChartData {
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::vector<ChartPoint> points;
    // What the minutes shown were measured on, each once, in the order they began; minutes of a
    // version that did not keep it add nothing.
    std::vector<std::string> sources;
    std::vector<AlertRow> alerts;
    std::vector<DayRow> days;
};

ChartData chartData(const HistoryStore& store, ChartSpan span, std::int64_t now);

} // namespace solvane::history
