#include "host/ProcStatLoad.h"

#include <array>
#include <charconv>
#include <fstream>
#include <string>

namespace solvane::host {

namespace {

// The "cpu" line's columns in order; guest time is already counted in user and nice.
enum class Column { User, Nice, System, Idle, IoWait, Irq, SoftIrq, Steal };
constexpr std::size_t kColumns = 8;
constexpr std::string_view kCpuLine = "cpu ";

bool idle(std::size_t column) {
    return column == static_cast<std::size_t>(Column::Idle) ||
           column == static_cast<std::size_t>(Column::IoWait);
}

} // namespace

std::optional<CpuTimes> parseProcStat(std::string_view text) {
    if (!text.starts_with(kCpuLine))
        return std::nullopt;
    text.remove_prefix(kCpuLine.size());
    CpuTimes times;
    std::size_t column = 0;
    // Older kernels list fewer columns (no steal before 2.6.11): the missing ones count 0.
    for (; column < kColumns; ++column) {
        const auto start = text.find_first_not_of(' ');
        if (start == std::string_view::npos || text[start] == '\n')
            break;
        text.remove_prefix(start);
        std::uint64_t ticks = 0;
        const auto [last, error] = std::from_chars(text.data(), text.data() + text.size(), ticks);
        if (error != std::errc())
            return std::nullopt;
        text.remove_prefix(static_cast<std::size_t>(last - text.data()));
        times.total += ticks;
        if (!idle(column))
            times.busy += ticks;
    }
    if (column <= static_cast<std::size_t>(Column::Idle))
        return std::nullopt;
    return times;
}

std::optional<double> ProcStatLoad::sample() {
    std::ifstream file(m_stat);
    std::string line;
    if (!file || !std::getline(file, line))
        return std::nullopt;
    const auto now = parseProcStat(line);
    if (!now)
        return std::nullopt;
    // Counters that went back belong to another boot (a replaced tree): count from its start.
    if (now->total < m_last.total || now->busy < m_last.busy)
        m_last = {};
    const auto ticks = now->total - m_last.total;
    if (ticks == 0)
        return m_lastLoad;
    m_lastLoad = static_cast<double>(now->busy - m_last.busy) / static_cast<double>(ticks);
    m_last = *now;
    return m_lastLoad;
}

} // namespace solvane::host
