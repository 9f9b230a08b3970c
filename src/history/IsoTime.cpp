#include "history/IsoTime.h"

#include <charconv>
#include <ctime>

namespace solvane::history {

namespace {

std::string formatted(std::int64_t seconds, const char* pattern) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    const auto length = std::strftime(text, sizeof text, pattern, &parts);
    return std::string(text, length);
}

// Reads exactly `digits` digits at `at`.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t digits) {
    if (at + digits > text.size())
        return std::nullopt;
    int value = 0;
    const auto* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + digits, value);
    if (error != std::errc() || end != begin + digits)
        return std::nullopt;
    return value;
}

} // namespace

std::string isoDateTime(std::int64_t seconds) {
    return formatted(seconds, "%Y-%m-%dT%H:%M:%SZ");
}

std::string isoDate(std::int64_t seconds) {
    return formatted(seconds, "%Y-%m-%d");
}

std::optional<std::int64_t> parseIsoTime(std::string_view text, Bound bound) {
    if (text.ends_with('Z'))
        text.remove_suffix(1);
    const auto year = digitsAt(text, 0, 4);
    const auto month = digitsAt(text, 5, 2);
    const auto day = digitsAt(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || *month < 1 || *month > 12 ||
        *day < 1 || *day > 31)
        return std::nullopt;
    std::tm parts{};
    parts.tm_year = *year - 1900;
    parts.tm_mon = *month - 1;
    parts.tm_mday = *day;
    bool dateOnly = text.size() == 10;
    if (!dateOnly) {
        const auto hour = digitsAt(text, 11, 2);
        const auto minute = digitsAt(text, 14, 2);
        if ((text[10] != 'T' && text[10] != ' ') || text.size() < 16 || text[13] != ':' || !hour || !minute ||
            *hour > 23 || *minute > 59)
            return std::nullopt;
        parts.tm_hour = *hour;
        parts.tm_min = *minute;
        if (text.size() != 16) {
            const auto second = digitsAt(text, 17, 2);
            if (text.size() != 19 || text[16] != ':' || !second || *second > 59)
                return std::nullopt;
            parts.tm_sec = *second;
        }
    }
    const std::int64_t seconds = timegm(&parts);
    // timegm normalises 2026-02-31 into March: such a date is refused.
    if (isoDate(seconds) != std::string(text.substr(0, 10)))
        return std::nullopt;
    return dateOnly && bound == Bound::End ? seconds + kSecondsPerDay - 1 : seconds;
}

std::string decimal(double value, int decimals) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return "0";
    std::string result(text, end);
    if (result.starts_with("-") && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1); // no "-0.00"
    return result;
}

} // namespace solvane::history
