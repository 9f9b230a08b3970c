#pragma once

#include "history/HistoryStore.h"

#include <ostream>

namespace solvane::history {

enum class CsvRows { Minutes, Days };

// The rows between from and to (seconds, UTC, both included) as CSV: a header line, ISO 8601
// times in UTC, "." as the decimal point, a text with a comma or quote in quotes (RFC 4180).
// Returns the number of rows written. Columns are only ever added at the end, so that scripts
// reading the earlier ones by position keep working.
std::size_t writeHistoryCsv(const HistoryStore& store, CsvRows rows, std::int64_t from, std::int64_t to,
                            std::ostream& out);

inline constexpr std::string_view kMinuteCsvHeader =
    "time,system_power_w,cpu_power_w,power_saving_w,cpu_temperature_c,fan_rpm,core_v,mode,power_source";
inline constexpr std::string_view kDayCsvHeader = "day,energy_consumed_kwh,energy_saved_kwh";

} // namespace solvane::history
