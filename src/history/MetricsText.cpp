#include "history/MetricsText.h"

#include "history/IsoTime.h"

#include <array>

namespace solvane::history {

namespace {

struct Gauge {
    std::string_view name;
    std::string_view help;
    double PowerSample::*field;
};

constexpr std::array<Gauge, 6> kGauges{{
    {"solvane_cpu_power_watts", "CPU power consumption in watts.", &PowerSample::cpuWatts},
    {"solvane_system_power_watts", "Total system power consumption in watts.", &PowerSample::systemWatts},
    {"solvane_power_saving_watts", "Power the active power-saving mode saves now, in watts.",
     &PowerSample::savingWatts},
    {"solvane_cpu_temperature_celsius", "CPU temperature in degrees Celsius.", &PowerSample::cpuCelsius},
    {"solvane_fan_rpm", "CPU fan speed in revolutions per minute.", &PowerSample::fanRpm},
    {"solvane_core_volts", "CPU core voltage in volts.", &PowerSample::coreVolts},
}};

constexpr double kJoulesPerKilowattHour = 3.6e6;

struct LimitGauge {
    LimitKind kind;
    std::string_view name;
    std::string_view help;
};

// In the order of kLimits, so a limit's slot in AlertLimits names its gauge.
constexpr std::array<LimitGauge, kLimits.size()> kLimitGauges{{
    {LimitKind::CpuTemperature, "solvane_cpu_temperature_limit_celsius",
     "The CPU temperature limit set on this machine, in degrees Celsius."},
    {LimitKind::SystemPower, "solvane_system_power_limit_watts",
     "The system power limit set on this machine, in watts."},
    {LimitKind::FanSpeed, "solvane_fan_speed_limit_rpm",
     "The lowest CPU fan speed set on this machine, in revolutions per minute."},
}};
static_assert(
    [] {
        for (std::size_t limit = 0; limit < kLimits.size(); ++limit)
            if (kLimitGauges[limit].kind != kLimits[limit].kind)
                return false;
        return true;
    }(),
    "the limit gauges follow kLimits");

constexpr std::array<power::PowerMode, 3> kModes{power::PowerMode::Default, power::PowerMode::Optimize,
                                                 power::PowerMode::Max};

// Label values escape backslash, double quote and line feed.
std::string labelValue(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        if (c == '\n') {
            escaped += "\\n";
            continue;
        }
        escaped += c;
    }
    return escaped;
}

void family(std::string& out, std::string_view name, std::string_view type, std::string_view help) {
    out.append("# HELP ").append(name).append(" ").append(help).append("\n");
    out.append("# TYPE ").append(name).append(" ").append(type).append("\n");
}

void sampleLine(std::string& out, std::string_view name, const std::string& labels, double value) {
    out.append(name).append("{").append(labels).append("} ").append(decimal(value, 6)).append("\n");
}

constexpr std::string_view kUp = "solvane_up";
constexpr std::string_view kUpHelp = "1 when the monitor reads the board, 0 when it monitors nothing.";

std::string boardLabelOf(std::string_view board) {
    return "board=\"" + labelValue(board) + "\"";
}

} // namespace

std::string notMonitoringText(std::string_view reason, std::string_view board) {
    std::string out;
    family(out, kUp, "gauge", kUpHelp);
    sampleLine(out, kUp, boardLabelOf(board), 0);
    family(out, "solvane_down_info", "gauge", "Why the monitor monitors nothing, in its reason label.");
    sampleLine(out, "solvane_down_info", boardLabelOf(board) + ",reason=\"" + labelValue(reason) + "\"", 1);
    return out;
}

std::string metricsText(const PowerSample& sample, double savedKwh, std::string_view board) {
    const std::string boardLabel = boardLabelOf(board);
    std::string out;
    out.reserve(2048);
    family(out, kUp, "gauge", kUpHelp);
    sampleLine(out, kUp, boardLabel, 1);
    for (const auto& gauge : kGauges) {
        family(out, gauge.name, "gauge", gauge.help);
        sampleLine(out, gauge.name, boardLabel, sample.*gauge.field);
    }
    family(out, "solvane_rail_power_watts", "gauge", "Power drawn from each supply rail in watts.");
    for (std::size_t rail = 0; rail < kRailNames.size(); ++rail)
        sampleLine(out, "solvane_rail_power_watts",
                   boardLabel + ",rail=\"" + std::string(kRailNames[rail]) + "\"", sample.railWatts[rail]);
    family(out, "solvane_power_mode", "gauge",
           "The active power mode: 1 for the active one, 0 for the others.");
    for (const auto mode : kModes)
        sampleLine(out, "solvane_power_mode", boardLabel + ",mode=\"" + std::string(modeLabel(mode)) + "\"",
                   sample.mode == mode ? 1 : 0);
    if (!sample.powerSource.empty()) {
        family(
            out, "solvane_power_source_info", "gauge",
            "What an ordinary PC's powers are measured on, in its source label; the saving is an estimate.");
        sampleLine(out, "solvane_power_source_info",
                   boardLabel + ",source=\"" + labelValue(sample.powerSource) + "\"", 1);
    }
    family(out, "solvane_energy_saved_joules_total", "counter",
           "Energy the power-saving modes have saved across runs, in joules.");
    sampleLine(out, "solvane_energy_saved_joules_total", boardLabel, savedKwh * kJoulesPerKilowattHour);
    return out;
}

std::string limitMetricsText(const AlertLimits& limits, std::string_view board) {
    const std::string boardLabel = "board=\"" + labelValue(board) + "\"";
    std::string out;
    for (std::size_t limit = 0; limit < kLimitGauges.size(); ++limit) {
        if (!limits[limit])
            continue;
        family(out, kLimitGauges[limit].name, "gauge", kLimitGauges[limit].help);
        sampleLine(out, kLimitGauges[limit].name, boardLabel, *limits[limit]);
    }
    return out;
}

} // namespace solvane::history
