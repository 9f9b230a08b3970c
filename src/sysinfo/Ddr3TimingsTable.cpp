#include "sysinfo/Ddr3TimingsTable.h"

#include "sysinfo/Ddr3SpdLayout.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace solvane::sysinfo {

namespace {

using namespace ddr3_spd;

constexpr int kLowestCasLatency = 4; // bit 0 of the latency mask
constexpr int kCasLatencyBits = 16;
// Above this frequency the clock counts are worked out from the period of the frequency rounded up to
// a whole tenth of a megahertz (10000 / tCK is the frequency in tenths of a megahertz).
constexpr float kFrequencyReplacementMhz = 535.0F;
constexpr float kTenthsOfMegahertzPerGigahertz = 10000.0F;
constexpr float kDecimalPlaces = 10000.0F; // the clock period is cut to four decimal places
constexpr float kModuleVoltage = 1.5F;

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::vector<int> supportedCasLatencies(std::span<const std::uint8_t> spd) {
    const unsigned mask = byteAt(spd, kCasLatenciesLow) + 256U * byteAt(spd, kCasLatenciesHigh);
    std::vector<int> latencies;
    for (int bit = 0; bit < kCasLatencyBits; ++bit)
        if ((mask >> bit & 1U) != 0)
            latencies.push_back(bit + kLowestCasLatency);
    return latencies;
}

// Clock counts of a minimum time given in medium time base units.
std::string clocks(unsigned mtbUnits, float mtb, float tCK) {
    return format("%.0f", static_cast<double>(std::ceil(static_cast<float>(mtbUnits) * mtb / tCK)));
}

} // namespace

TimingsTable ddr3TimingsTable(std::span<const std::uint8_t> spd) {
    TimingsTable table;
    // A time base or an access time of zero leaves nothing to divide by: no column can be worked out.
    if (byteAt(spd, kMtbDividend) == 0 || byteAt(spd, kMtbDivisor) == 0 || byteAt(spd, kTaaMin) == 0)
        return table;
    const float mtb =
        static_cast<float>(byteAt(spd, kMtbDividend)) / static_cast<float>(byteAt(spd, kMtbDivisor));
    const float tAAmin = mtb * static_cast<float>(byteAt(spd, kTaaMin));
    const unsigned tRCD = byteAt(spd, kTrcdMin);
    const unsigned tRP = byteAt(spd, kTrpMin);
    const unsigned upperNibbles = byteAt(spd, kTrasTrcUpperNibbles);
    const unsigned tRAS = 256U * (upperNibbles & 0x0FU) + byteAt(spd, kTrasMinLow);
    const unsigned tRC = 256U * (upperNibbles >> 4) + byteAt(spd, kTrcMinLow);

    const auto latencies = supportedCasLatencies(spd);
    for (std::size_t k = 0; k < kTimingColumns && k < latencies.size(); ++k) {
        const int cl = latencies[k];
        float tCK = tAAmin / static_cast<float>(cl);
        tCK = static_cast<float>(static_cast<long>(tCK * kDecimalPlaces)) / kDecimalPlaces;
        const float frequency = 1000.0F / tCK;
        if (frequency > kFrequencyReplacementMhz)
            tCK = kTenthsOfMegahertzPerGigahertz / std::ceil(kTenthsOfMegahertzPerGigahertz / tCK);

        TimingColumn column;
        column[rowIndex(TimingRow::Frequency)] = format("%.0f MHz", static_cast<double>(frequency));
        column[rowIndex(TimingRow::CasLatency)] = std::to_string(cl) + ".0";
        column[rowIndex(TimingRow::RasToCas)] = clocks(tRCD, mtb, tCK);
        column[rowIndex(TimingRow::RasPrecharge)] = clocks(tRP, mtb, tCK);
        column[rowIndex(TimingRow::Tras)] = clocks(tRAS, mtb, tCK);
        column[rowIndex(TimingRow::Trc)] = clocks(tRC, mtb, tCK);
        column[rowIndex(TimingRow::Voltage)] = format("%.1f V", static_cast<double>(kModuleVoltage));
        table[k] = std::move(column);
    }
    return table;
}

} // namespace solvane::sysinfo
