#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace solvane::platform {

// The operating system's view of physical memory, as the memory status call reports it.
struct MemoryStatus {
    std::uint32_t dwMemoryLoad = 0; // per cent of physical memory in use, 0 to 100
    std::uint64_t dwTotalPhys = 0;  // bytes
};

// The memory status from the text of /proc/meminfo. Memory in use is what the system monitor and
// free(1) count as used: MemTotal less MemAvailable (on kernels without MemAvailable, less MemFree,
// Buffers and Cached); the load is that share of MemTotal, rounded to a whole per cent. None when the
// text holds no MemTotal.
std::optional<MemoryStatus> parseMeminfo(std::string_view text);

// The memory status of this machine; zeros when the file cannot be read.
MemoryStatus GlobalMemoryStatus(const std::filesystem::path& meminfo = "/proc/meminfo");

} // namespace solvane::platform
