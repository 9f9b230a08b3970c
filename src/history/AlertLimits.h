#pragma once

#include "history/HistoryStore.h"
#include "history/PowerSample.h"
#include "platform/Registry.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace solvane::history {

// The user's limits live under a key of Solvane's own; a missing or empty value is a limit that
// is off, which is how a new installation starts.
inline constexpr std::string_view kAlertLimitsKey = "Software\\Solvane\\History";

enum class LimitSide { Upper, Lower };
enum class LimitKind { CpuTemperature = 0, SystemPower = 1, FanSpeed = 2 };

struct LimitDefinition {
    LimitKind kind;
    std::string_view name;          // in the history and the registry
    std::string_view registryValue; // decimal string, whole units
    std::string_view caption;       // in the window and the notification
    std::string_view unit;
    LimitSide side;
    // The value must come back this far inside the limit before a new crossing counts, so a value
    // on the edge does not repeat the alert.
    double hysteresis;
};

inline constexpr std::array<LimitDefinition, 3> kLimits{{
    {LimitKind::CpuTemperature, "cpu_temperature", "CpuTemperatureLimit", "CPU temperature", "°C",
     LimitSide::Upper, 3},
    {LimitKind::SystemPower, "system_power", "SystemPowerLimit", "System power", "W", LimitSide::Upper, 5},
    {LimitKind::FanSpeed, "fan_speed", "FanSpeedLimit", "Fan speed", "rpm", LimitSide::Lower, 100},
}};

using AlertLimits = std::array<std::optional<int>, kLimits.size()>;

AlertLimits readAlertLimits(const platform::Registry& registry);
// An empty limit deletes its value (off).
bool writeAlertLimits(platform::Registry& registry, const AlertLimits& limits);

double limitedValue(LimitKind kind, const PowerSample& sample);

// One notification per crossing: a limit fires when the value goes past it, and only fires again
// once the value has come back inside by the hysteresis.
class AlertWatch {
public:
    void setLimits(const AlertLimits& limits);
    const AlertLimits& limits() const { return m_limits; }
    // The crossings of this refresh.
    std::vector<AlertRow> check(const PowerSample& sample, std::int64_t timeSeconds);

private:
    AlertLimits m_limits{};
    std::array<bool, kLimits.size()> m_past{}; // beyond the limit and not yet back inside
};

// "CPU temperature 82 °C is above its limit of 80 °C".
std::string alertMessage(const AlertRow& alert);

} // namespace solvane::history
