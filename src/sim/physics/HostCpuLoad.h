#pragma once

#include "sim/physics/CpuLoadSource.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

namespace solvane::sim {

// The CPU usage of the machine the program runs on: the share of time its processors were not idle
// since the previous sample. The kernel's idle time summed over every processor (the second figure of
// /proc/uptime) is set against the time passed on the monotonic clock, which like the idle time stops
// while the machine sleeps, times the processors online (counted when the source is made).
// /proc/stat holds the same idle time, but the kernel writes a count for every interrupt line into it
// on each read: about 12 microseconds of a refresh on a small machine with 400 lines, and more with
// more, where /proc/uptime costs about 2. Time a processor sits waiting for I/O counts as busy here,
// as the kernel keeps it apart from its idle time.
//
// Samples are taken at most every quarter second of the board's clock; between them the last figure
// holds. The file stays open and each sample reads it afresh with one pread.
class HostCpuLoad final : public CpuLoadSource {
public:
    // The time since boot on the monotonic clock.
    using Clock = std::function<std::chrono::nanoseconds()>;
    static std::chrono::nanoseconds sinceBoot();
    static int processorsOnline();

    explicit HostCpuLoad(const std::filesystem::path& uptimeFile = "/proc/uptime", Clock clock = sinceBoot,
                         int processors = processorsOnline());
    ~HostCpuLoad() override;
    HostCpuLoad(const HostCpuLoad&) = delete;
    HostCpuLoad& operator=(const HostCpuLoad&) = delete;
    double load(std::chrono::milliseconds now) override;

private:
    struct Sample {
        double idleSeconds = 0.0; // summed over every processor
        std::chrono::nanoseconds taken{0};
    };
    std::optional<Sample> read() const;

    int m_uptimeFile = -1; // -1: it could not be opened
    Clock m_clock;
    int m_processors;
    std::optional<Sample> m_previous;
    std::optional<std::chrono::milliseconds> m_sampledAt;
    double m_load = 0.0;
};

} // namespace solvane::sim
