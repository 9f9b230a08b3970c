#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace solvane::host {

// The processors' time as the "cpu" line of /proc/stat counts it, in clock ticks.
struct CpuTimes {
    std::uint64_t busy = 0;  // user, nice, system, irq, softirq and steal
    std::uint64_t total = 0; // busy plus idle and iowait
};

// The first ("cpu", all processors) line of /proc/stat; empty when the text has none.
std::optional<CpuTimes> parseProcStat(std::string_view text);

// The CPU load between two reads of <proc>/stat: the busy share of the ticks that passed, 0 to 1.
// The first read gives the share since boot.
class ProcStatLoad {
public:
    explicit ProcStatLoad(std::filesystem::path procRoot) : m_stat(std::move(procRoot) / "stat") {}

    // Empty when <proc>/stat cannot be read; the previous load when no tick passed since.
    std::optional<double> sample();

private:
    std::filesystem::path m_stat;
    CpuTimes m_last;
    std::optional<double> m_lastLoad;
};

} // namespace solvane::host
