#pragma once

#include "sysinfo/SpdModuleDetails.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace solvane::sysinfo::spd_fields {

// Pieces the DDR4 and DDR5 layouts store alike.

// CRC-16 with the polynomial 0x1021 and initial value 0, as SPD images carry it.
std::uint16_t crc16(std::span<const std::uint8_t> bytes);

// The check of bytes first..last against the CRC stored low byte first at storedAt.
SpdCrcCheck crcCheck(std::span<const std::uint8_t> spd, std::size_t first, std::size_t last,
                     std::size_t storedAt);

// The JEP-106 name of a continuation byte (count in bits 6..0) and code; empty past bank 13.
std::string manufacturer(std::uint8_t continuation, std::uint8_t code);

// ASCII text of count bytes from offset, blanks and NULs at the end removed, other unprintable
// bytes left out.
std::string asciiField(std::span<const std::uint8_t> spd, std::size_t offset, std::size_t count);

// The bytes as hexadecimal digits in the order stored.
std::string hexField(std::span<const std::uint8_t> spd, std::size_t offset, std::size_t count);

// Year and week from binary-coded decimal bytes; both left empty when either is not a date.
void manufactureDate(std::uint8_t yearBcd, std::uint8_t weekBcd, SpdModuleDetails& module);

// Where a generation keeps the maker's section: the JEP-106 continuation byte and code, the date
// (year, week), the serial number's four bytes and the part number's ASCII field.
struct ManufacturingLayout {
    std::size_t bank;
    std::size_t code;
    std::size_t year;
    std::size_t week;
    std::size_t serial;
    std::size_t partNumber;
    std::size_t partNumberBytes;
};

// Maker, date, serial and part number from an image that holds the section.
void decodeManufacturing(std::span<const std::uint8_t> spd, const ManufacturingLayout& layout,
                         SpdModuleDetails& module);

// The CAS latency of speed: the lowest supported one at least `clocks`; 0 when none is.
int casLatencyCovering(const std::vector<int>& latencies, int clocks);

// A standard speed grade: its clock period in picoseconds as the SPD stores it, and its data rate.
struct StandardSpeed {
    int periodPicoseconds;
    int mts;
};

// The data rate of a clock period: the standard grade's when the period is one, else 2 / period.
int dataRate(int periodPicoseconds, std::span<const StandardSpeed> standard);

// The module's top speed, then the slower standard speeds (fastest first) it also runs at, up to the
// page's four columns; clocksOf turns a time and a period, both in picoseconds, into clocks.
template <typename ClocksOf>
std::vector<SpdClocks> speedsOf(const SpdTimes& times, int tckMax, std::span<const StandardSpeed> standard,
                                const std::vector<int>& latencies, ClocksOf clocksOf) {
    std::vector<SpdClocks> speeds;
    const auto add = [&](int period) {
        const int cas = casLatencyCovering(latencies, clocksOf(times.tAA, period));
        if (cas == 0)
            return;
        speeds.push_back({dataRate(period, standard), period, cas, clocksOf(times.tRCD, period),
                          clocksOf(times.tRP, period), clocksOf(times.tRAS, period),
                          clocksOf(times.tRC, period)});
    };
    if (times.tCK <= 0)
        return speeds;
    add(times.tCK);
    for (const auto& speed : standard)
        if (!speeds.empty() && speeds.size() < kTimingColumns && speed.periodPicoseconds > times.tCK &&
            (tckMax <= 0 || speed.periodPicoseconds <= tckMax))
            add(speed.periodPicoseconds);
    return speeds;
}

} // namespace solvane::sysinfo::spd_fields
