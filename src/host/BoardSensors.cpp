#include "host/BoardSensors.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace solvane::host {

namespace {

// Drivers of the processor's own temperature sensors; their first temperature is the CPU's
// (coretemp lists "Package id 0" first, k10temp "Tctl").
constexpr std::array<std::string_view, 4> kCpuTemperatureChips{"coretemp", "k10temp", "zenpower",
                                                               "cpu_thermal"};

// Labels are compared after lower-casing and dropping blanks, "+" and "_", so "+3.3V", "3.3 V" and
// "3.3v" are one label. A label names a reading when it equals one of the row's names (voltages)
// or contains one (temperatures and fans, whose labels carry chip-specific words around them).
constexpr std::array<std::string_view, 4> kCpuTemperatureWords{"cpu", "package", "tctl", "peci"};
constexpr std::array<std::string_view, 5> kBoardTemperatureWords{"systin", "system", "motherboard",
                                                                 "mainboard", "mbtemp"};
constexpr std::array<std::string_view, 6> kCoreVoltageNames{"vcore",    "cpucore", "cpuvcore",
                                                            "vddcrcpu", "vcpu",    "cpuvoltage"};
constexpr std::array<std::string_view, 6> kRail3v3Names{"3.3v", "3vcc", "v3.3", "3v3", "3.3vcc", "vcc3"};
constexpr std::array<std::string_view, 5> kRail5vNames{"5v", "5vcc", "v5", "5.0v", "vcc5"};
constexpr std::array<std::string_view, 4> kRail12vNames{"12v", "v12", "12.0v", "12vcc"};
constexpr std::array<std::string_view, 1> kCpuFanWords{"cpu"};
// The processor's temperature labels, most telling first (compared as normalised labels, by prefix:
// "packageid0", "packageid1").
constexpr std::array<std::string_view, 3> kCpuTemperatureLabels{"packageid", "tdie", "tctl"};
// Drivers of graphics cards whose power1 reading is the card's (or the integrated graphics') draw.
constexpr std::array<std::string_view, 5> kGraphicsChips{"amdgpu", "radeon", "nouveau", "i915", "xe"};
// A working sensor reads above freezing and below where the part shuts down; 0 °C, -63 °C or a
// board at 101 °C come from Super I/O inputs with nothing connected (seen on real desktops).
constexpr double kLowestPlausibleCelsius = 0.5;
constexpr double kHighestPlausibleCpuCelsius = 110.0;
constexpr double kHighestPlausibleBoardCelsius = 85.0;

// GetVol array slots of the layout described in the header.
constexpr std::size_t kCoreVoltageSlot = 0;
constexpr std::size_t kRail3v3Slot = 2;
constexpr std::size_t kRail5vSlot = 3;
constexpr std::size_t kRail12vSlot = 4;
constexpr std::size_t kBoardTemperatureSlot = 7;
constexpr std::size_t kFanSlot = 8;
constexpr std::size_t kCpuTemperatureByte = 0;
constexpr std::size_t kBoardTemperatureByte = 1;
constexpr double kMillivoltsPerVolt = 1000.0;

std::string normalise(std::string_view label) {
    std::string text;
    for (const char c : label)
        if (c != ' ' && c != '+' && c != '_')
            text += platform::lowerAscii(c);
    return text;
}

template <std::size_t N>
bool equalsAny(const std::string& label, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), label) != names.end();
}

template <std::size_t N>
bool containsAny(const std::string& label, const std::array<std::string_view, N>& words) {
    return std::any_of(words.begin(), words.end(),
                       [&label](std::string_view word) { return label.find(word) != std::string::npos; });
}

bool plausible(const SensorReading& reading, double highest = kHighestPlausibleCpuCelsius) {
    return reading.quantity != SensorQuantity::Temperature ||
           (reading.value >= kLowestPlausibleCelsius && reading.value < highest);
}

template <class Matches>
const SensorReading* first(std::span<const SensorReading> readings, SensorQuantity quantity, Matches matches,
                           double highestCelsius = kHighestPlausibleCpuCelsius) {
    for (const auto& reading : readings)
        if (reading.quantity == quantity && plausible(reading, highestCelsius) && matches(reading))
            return &reading;
    return nullptr;
}

template <class Matches>
const SensorReading* hottest(std::span<const SensorReading> readings, Matches matches) {
    const SensorReading* found = nullptr;
    for (const auto& reading : readings)
        if (reading.quantity == SensorQuantity::Temperature && plausible(reading) && matches(reading) &&
            (found == nullptr || reading.value > found->value))
            found = &reading;
    return found;
}

const SensorReading* cpuTemperatureOf(std::span<const SensorReading> readings) {
    const auto cpuChip = [](const SensorReading& reading) {
        return equalsAny(reading.chip, kCpuTemperatureChips);
    };
    for (const auto label : kCpuTemperatureLabels)
        if (const auto* found = hottest(readings, [&](const SensorReading& reading) {
                return cpuChip(reading) && normalise(reading.label).starts_with(label);
            }))
            return found;
    if (const auto* found = hottest(readings, cpuChip))
        return found;
    return first(readings, SensorQuantity::Temperature, [](const SensorReading& reading) {
        return containsAny(normalise(reading.label), kCpuTemperatureWords);
    });
}

std::optional<double> valueOf(const SensorReading* reading) {
    return reading != nullptr ? std::optional(reading->value) : std::nullopt;
}

template <std::size_t N>
const SensorReading* voltageNamed(std::span<const SensorReading> readings,
                                  const std::array<std::string_view, N>& names) {
    return first(readings, SensorQuantity::Voltage, [&names](const SensorReading& reading) {
        return equalsAny(normalise(reading.label), names);
    });
}

template <class Target> Target rounded(double value) {
    const double limited =
        std::clamp(std::round(value), static_cast<double>(std::numeric_limits<Target>::min()),
                   static_cast<double>(std::numeric_limits<Target>::max()));
    return static_cast<Target>(limited);
}

} // namespace

SensorPicks SensorPicks::of(std::span<const SensorReading> readings) {
    SensorPicks picks;
    picks.cpuTemperature = cpuTemperatureOf(readings);
    picks.boardTemperature = first(
        readings, SensorQuantity::Temperature,
        [](const SensorReading& reading) {
            return containsAny(normalise(reading.label), kBoardTemperatureWords);
        },
        kHighestPlausibleBoardCelsius);
    if (picks.boardTemperature == nullptr)
        picks.boardTemperature = first(
            readings, SensorQuantity::Temperature,
            [](const SensorReading& reading) { return reading.chip == "acpitz"; },
            kHighestPlausibleBoardCelsius);
    picks.coreVoltage = voltageNamed(readings, kCoreVoltageNames);
    picks.rail3v3 = voltageNamed(readings, kRail3v3Names);
    picks.rail5v = voltageNamed(readings, kRail5vNames);
    picks.rail12v = voltageNamed(readings, kRail12vNames);
    // A fan reading 0 rpm is not connected; the CPU fan is preferred among the spinning ones.
    picks.fan = first(readings, SensorQuantity::Fan, [](const SensorReading& reading) {
        return reading.value > 0 && containsAny(normalise(reading.label), kCpuFanWords);
    });
    if (picks.fan == nullptr)
        picks.fan = first(readings, SensorQuantity::Fan,
                          [](const SensorReading& reading) { return reading.value > 0; });
    picks.graphicsPower = first(readings, SensorQuantity::Power, [](const SensorReading& reading) {
        return equalsAny(reading.chip, kGraphicsChips);
    });
    return picks;
}

bool labelledVoltage(const SensorReading& reading) {
    if (reading.quantity != SensorQuantity::Voltage)
        return false;
    const std::string_view label = reading.label;
    return !(label.starts_with("in") && label.size() > 2 &&
             label.find_first_not_of("0123456789", 2) == std::string_view::npos);
}

BoardSensors BoardSensors::pick(std::span<const SensorReading> readings) {
    const auto picks = SensorPicks::of(readings);
    return {.cpuTemperature = valueOf(picks.cpuTemperature),
            .boardTemperature = valueOf(picks.boardTemperature),
            .coreVoltage = valueOf(picks.coreVoltage),
            .rail3v3 = valueOf(picks.rail3v3),
            .rail5v = valueOf(picks.rail5v),
            .rail12v = valueOf(picks.rail12v),
            .fanRpm = valueOf(picks.fan)};
}

int BoardSensors::fillTemperatures(hw::nimbrel::TemperatureBuffer& buffer) const {
    buffer.fill(0);
    if (cpuTemperature)
        buffer[kCpuTemperatureByte] = static_cast<std::uint8_t>(rounded<std::int8_t>(*cpuTemperature));
    if (boardTemperature)
        buffer[kBoardTemperatureByte] = static_cast<std::uint8_t>(rounded<std::int8_t>(*boardTemperature));
    return cpuTemperature ? 1 : 0;
}

int BoardSensors::fillSensorArray(hw::nimbrel::SensorArray& values) const {
    values.fill(0);
    const auto put = [&values](std::size_t slot, const std::optional<double>& reading, double scale) {
        if (reading)
            values[slot] = rounded<std::int32_t>(*reading * scale);
    };
    put(kCoreVoltageSlot, coreVoltage, kMillivoltsPerVolt);
    put(kRail3v3Slot, rail3v3, kMillivoltsPerVolt);
    put(kRail5vSlot, rail5v, kMillivoltsPerVolt);
    put(kRail12vSlot, rail12v, kMillivoltsPerVolt);
    put(kBoardTemperatureSlot, boardTemperature, 1.0);
    put(kFanSlot, fanRpm, 1.0);
    const bool any = coreVoltage || rail3v3 || rail5v || rail12v || boardTemperature || fanRpm;
    return any ? 1 : 0;
}

} // namespace solvane::host
