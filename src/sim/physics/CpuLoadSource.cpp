#include "sim/physics/CpuLoadSource.h"

#include "sim/physics/HostCpuLoad.h"
#include "sim/physics/ScriptedCpuLoad.h"

#include <charconv>
#include <optional>
#include <vector>

namespace solvane::sim {

namespace {

std::optional<double> percentage(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Written as "not inside the range" so that NaN, which compares false with everything, fails too.
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(value >= 0 && value <= 100))
        return std::nullopt;
    return value / 100.0;
}

} // namespace

std::shared_ptr<CpuLoadSource> parseCpuLoad(std::string_view text, std::string& error) {
    error.clear();
    if (text == "host")
        return std::make_shared<HostCpuLoad>();
    std::chrono::milliseconds step(30000);
    const auto at = text.find('@');
    if (at != std::string_view::npos) {
        int seconds = 0;
        const auto stepText = text.substr(at + 1);
        const auto [end, failure] =
            std::from_chars(stepText.data(), stepText.data() + stepText.size(), seconds);
        if (stepText.empty() || failure != std::errc() || end != stepText.data() + stepText.size() ||
            seconds <= 0) {
            error = "the step of a CPU load script is a whole number of seconds";
            return nullptr;
        }
        step = std::chrono::seconds(seconds);
        text = text.substr(0, at);
    }
    std::vector<double> loads;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const auto item =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const auto value = percentage(item);
        if (!value) {
            error = "CPU load \"" + std::string(item) +
                    "\" is not \"host\" or a percentage from 0 to 100 (several separated by commas)";
            return nullptr;
        }
        loads.push_back(*value);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return std::make_shared<ScriptedCpuLoad>(std::move(loads), step);
}

} // namespace solvane::sim
