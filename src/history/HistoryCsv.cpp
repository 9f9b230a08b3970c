#include "history/HistoryCsv.h"

#include "history/IsoTime.h"
#include "history/PowerSample.h"

namespace solvane::history {

namespace {

// A text field: quoted, its quotes doubled, where a comma, quote or line break would split it.
std::string csvText(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::size_t writeHistoryCsv(const HistoryStore& store, CsvRows rows, std::int64_t from, std::int64_t to,
                            std::ostream& out) {
    if (rows == CsvRows::Days) {
        // A day belongs to the range when its first second does; a range starting mid-day takes it.
        const auto days = store.days(from - from % kSecondsPerDay, to);
        out << kDayCsvHeader << '\n';
        for (const auto& day : days)
            out << isoDate(day.day) << ',' << decimal(day.consumedKwh, 6) << ',' << decimal(day.savedKwh(), 6)
                << '\n';
        return days.size();
    }
    const auto minutes = store.minutes(from, to);
    out << kMinuteCsvHeader << '\n';
    for (const auto& minute : minutes)
        out << isoDateTime(minute.time) << ',' << decimal(minute.systemWatts, 3) << ','
            << decimal(minute.cpuWatts, 3) << ',' << decimal(minute.savingWatts, 3) << ','
            << decimal(minute.cpuCelsius, 2) << ',' << decimal(minute.fanRpm, 1) << ','
            << decimal(minute.coreVolts, 4) << ',' << modeLabel(static_cast<power::PowerMode>(minute.mode))
            << ',' << csvText(minute.powerSource) << '\n';
    return minutes.size();
}

} // namespace solvane::history
