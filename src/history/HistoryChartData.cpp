#include "history/HistoryChartData.h"

#include "history/IsoTime.h"

#include <algorithm>

namespace solvane::history {

ChartData chartData(const HistoryStore& store, ChartSpan span, std::int64_t now) {
    const auto& definition = *std::find_if(kChartSpans.begin(), kChartSpans.end(),
                                           [span](const auto& candidate) { return candidate.span == span; });
    ChartData data;
    data.to = now;
    data.from = now - definition.seconds + 1;
    // Minutes folded into points of the span's size, weighted by their refreshes.
    double weight = 0;
    for (const auto& minute : store.minutes(data.from, data.to)) {
        const std::int64_t start = minute.time - minute.time % definition.pointSeconds;
        if (data.points.empty() || data.points.back().time != start) {
            weight = 0;
            data.points.push_back({start, 0, 0});
        }
        auto& point = data.points.back();
        const double refreshes = std::max(minute.refreshes, 1);
        point.consumptionWatts =
            (point.consumptionWatts * weight + minute.systemWatts * refreshes) / (weight + refreshes);
        point.savingWatts =
            (point.savingWatts * weight + minute.savingWatts * refreshes) / (weight + refreshes);
        weight += refreshes;
        if (!minute.powerSource.empty() &&
            std::find(data.sources.begin(), data.sources.end(), minute.powerSource) == data.sources.end())
            data.sources.push_back(minute.powerSource);
    }
    data.alerts = store.alerts(data.from, data.to);
    const std::int64_t lastDay = now - now % kSecondsPerDay;
    data.days = store.days(lastDay - 29 * kSecondsPerDay, lastDay);
    return data;
}

} // namespace solvane::history
