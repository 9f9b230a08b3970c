#pragma once

#include "sim/physics/CpuLoadSource.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace solvane::sim {

// The CPU usage of the machine the program runs on, from the kernel's counters in /proc/stat: the
// share of non-idle time across all CPUs since the previous sample. Samples are taken at most every
// quarter second of the board's clock; between them the last figure holds. The file stays open and
// each sample reads its first line afresh: a refresh pays for the kernel's counters, not for
// opening a file.
class HostCpuLoad final : public CpuLoadSource {
public:
    explicit HostCpuLoad(const std::filesystem::path& statFile = "/proc/stat");
    ~HostCpuLoad() override;
    HostCpuLoad(const HostCpuLoad&) = delete;
    HostCpuLoad& operator=(const HostCpuLoad&) = delete;
    double load(std::chrono::milliseconds now) override;

private:
    struct Counters {
        std::uint64_t busy = 0;
        std::uint64_t total = 0;
    };
    std::optional<Counters> read() const;

    int m_statFile = -1; // -1: it could not be opened
    std::optional<Counters> m_previous;
    std::optional<std::chrono::milliseconds> m_sampledAt;
    double m_load = 0.0;
};

} // namespace solvane::sim
