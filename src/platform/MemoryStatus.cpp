#include "platform/MemoryStatus.h"

#include "platform/KeyValueLines.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace solvane::platform {

namespace {

constexpr std::uint64_t kBytesPerKilobyte = 1024;

// "MemTotal:       16318412 kB" lines, by field name, in kilobytes.
std::map<std::string_view, std::uint64_t> meminfoFields(std::string_view text) {
    std::map<std::string_view, std::uint64_t> fields;
    for (const auto& [key, value] : keyValueLines(text)) {
        std::uint64_t kilobytes = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), kilobytes);
        if (error == std::errc() && end != value.data())
            fields.emplace(key, kilobytes);
    }
    return fields;
}

} // namespace

std::optional<MemoryStatus> parseMeminfo(std::string_view text) {
    const auto fields = meminfoFields(text);
    const auto field = [&](std::string_view name) -> std::optional<std::uint64_t> {
        const auto found = fields.find(name);
        return found == fields.end() ? std::nullopt : std::optional(found->second);
    };
    const auto total = field("MemTotal");
    if (!total || *total == 0)
        return std::nullopt;
    auto available = field("MemAvailable");
    if (!available)
        available = field("MemFree").value_or(0) + field("Buffers").value_or(0) + field("Cached").value_or(0);
    const std::uint64_t used = *total - std::min(*available, *total);
    MemoryStatus status;
    status.dwTotalPhys = *total * kBytesPerKilobyte;
    status.dwMemoryLoad = static_cast<std::uint32_t>((used * 100 + *total / 2) / *total);
    return status;
}

MemoryStatus GlobalMemoryStatus(const std::filesystem::path& meminfo) {
    std::ifstream file(meminfo);
    std::ostringstream text;
    text << file.rdbuf();
    return parseMeminfo(text.str()).value_or(MemoryStatus{});
}

} // namespace solvane::platform
