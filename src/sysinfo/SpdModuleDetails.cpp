#include "sysinfo/SpdModuleDetails.h"

#include <algorithm>
#include <cstdio>

namespace solvane::sysinfo {

namespace {

constexpr double kPicosecondsPerMicrosecond = 1'000'000.0;

std::string megahertzText(int periodPicoseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f MHz", kPicosecondsPerMicrosecond / periodPicoseconds);
    return text;
}

} // namespace

bool SpdModuleDetails::crcFailed() const {
    return std::any_of(crcs.begin(), crcs.end(), [](const SpdCrcCheck& check) { return !check.ok(); });
}

std::string SpdModuleDetails::speedGrade() const {
    return speeds.empty() ? std::string() : generation + "-" + std::to_string(speeds.front().speedMts);
}

TimingsTable spdTimingsTable(const SpdModuleDetails& module) {
    TimingsTable table;
    for (std::size_t column = 0; column < std::min(module.speeds.size(), kTimingColumns); ++column) {
        const auto& speed = module.speeds[column];
        TimingColumn texts;
        texts[rowIndex(TimingRow::Frequency)] = megahertzText(speed.clockPicoseconds);
        texts[rowIndex(TimingRow::CasLatency)] = std::to_string(speed.cas) + ".0";
        texts[rowIndex(TimingRow::RasToCas)] = std::to_string(speed.tRCD);
        texts[rowIndex(TimingRow::RasPrecharge)] = std::to_string(speed.tRP);
        texts[rowIndex(TimingRow::Tras)] = std::to_string(speed.tRAS);
        texts[rowIndex(TimingRow::Trc)] = std::to_string(speed.tRC);
        texts[rowIndex(TimingRow::Voltage)] = module.voltage;
        table[column] = std::move(texts);
    }
    return table;
}

} // namespace solvane::sysinfo
