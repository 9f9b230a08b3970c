#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace solvane::sim {

// Where the simulated CPU's load comes from: a fraction from 0 (idle) to 1 (every core busy).
class CpuLoadSource {
public:
    virtual ~CpuLoadSource() = default;
    // The load at a moment of the board's clock.
    virtual double load(std::chrono::milliseconds now) = 0;
};

// The --cpu-load text: "host" (this machine's own CPU usage), a percentage ("35"), or percentages that
// follow each other ("10,90,50", each held 30 seconds, or "10,90,50@5" for 5 seconds each). Null and an
// error text when the text is none of these.
std::shared_ptr<CpuLoadSource> parseCpuLoad(std::string_view text, std::string& error);

} // namespace solvane::sim
