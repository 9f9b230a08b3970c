#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace solvane::sysinfo {

// The rows of the memory page's timings table, top to bottom.
enum class TimingRow : std::size_t {
    Frequency,
    CasLatency,
    RasToCas,
    RasPrecharge,
    Tras,
    Trc,
    Voltage,
};
inline constexpr std::size_t kTimingRows = 7;
constexpr std::size_t rowIndex(TimingRow row) {
    return static_cast<std::size_t>(row);
}
inline constexpr std::size_t kTimingColumns = 4;

// One column of the table: the texts of its seven rows.
using TimingColumn = std::array<std::string, kTimingRows>;
// The four columns; a column without a CAS latency to show stays empty (the page leaves it as it was).
using TimingsTable = std::array<std::optional<TimingColumn>, kTimingColumns>;

// The timings table of a DDR3 module from its SPD bytes (DDR3 layout; a byte the image does not hold
// reads as 0xFF). Column k shows the k-th lowest supported CAS latency with the module's minimum times
// in clocks of that latency; every time is worked out in single precision.
TimingsTable ddr3TimingsTable(std::span<const std::uint8_t> spd);

} // namespace solvane::sysinfo
