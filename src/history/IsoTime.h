#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::history {

// The history keeps times as seconds since 1970 in UTC and days as the UTC day's first second.
inline constexpr std::int64_t kSecondsPerMinute = 60;
inline constexpr std::int64_t kSecondsPerDay = 86400;

// "2026-12-07T10:15:00Z".
std::string isoDateTime(std::int64_t seconds);
// "2026-12-07".
std::string isoDate(std::int64_t seconds);

// A bound given on the command line: "2026-12-07", "2026-12-07T10:15", "2026-12-07T10:15:30" with
// an optional "Z". A date alone names its whole day: as a start its first second, as an end its
// last one. Times are UTC.
enum class Bound { Start, End };
std::optional<std::int64_t> parseIsoTime(std::string_view text, Bound bound);

// A number with `decimals` places and "." as the decimal point, whatever the locale.
std::string decimal(double value, int decimals);

} // namespace solvane::history
