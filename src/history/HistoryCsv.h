#pragma once

#include "history/HistoryStore.h"

#include <ostream>

namespace solvane::history {

enum class CsvRows { Minutes, Days };

// The rows between from and to (seconds, UTC, both included) as CSV: a header line, ISO 8601
// times in UTC, "." as the decimal point. Returns the number of rows written.
std::size_t writeHistoryCsv(const HistoryStore& store, CsvRows rows, std::int64_t from, std::int64_t to,
                            std::ostream& out);

inline constexpr std::string_view kMinuteCsvHeader =
    "time,system_power_w,cpu_power_w,power_saving_w,cpu_temperature_c,fan_rpm,core_v,mode";
inline constexpr std::string_view kDayCsvHeader = "day,energy_consumed_kwh,energy_saved_kwh";

} // namespace solvane::history
