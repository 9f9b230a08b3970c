#include "history/AlertLimits.h"

#include "history/IsoTime.h"

#include <charconv>

namespace solvane::history {

namespace {

const LimitDefinition* definitionNamed(std::string_view name) {
    for (const auto& definition : kLimits)
        if (definition.name == name)
            return &definition;
    return nullptr;
}

// The place of a limit's entries in AlertLimits and the watch's state: walking kLimits itself
// leaves no index bound that could read past the table.
std::size_t slotOf(const LimitDefinition& definition) {
    return static_cast<std::size_t>(&definition - kLimits.data());
}

} // namespace

AlertLimits readAlertLimits(const platform::Registry& registry) {
    AlertLimits limits{};
    for (const auto& definition : kLimits) {
        const auto text = registry.readString(kAlertLimitsKey, definition.registryValue);
        if (!text || text->empty())
            continue;
        int value = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
        if (error == std::errc() && end == text->data() + text->size())
            limits[slotOf(definition)] = value;
    }
    return limits;
}

bool writeAlertLimits(platform::Registry& registry, const AlertLimits& limits) {
    bool kept = true;
    for (const auto& definition : kLimits) {
        const auto& limit = limits[slotOf(definition)];
        kept =
            (limit ? registry.writeString(kAlertLimitsKey, definition.registryValue, std::to_string(*limit))
                   : registry.deleteValue(kAlertLimitsKey, definition.registryValue) ||
                         !registry.readString(kAlertLimitsKey, definition.registryValue)) &&
            kept;
    }
    return kept;
}

double limitedValue(LimitKind kind, const PowerSample& sample) {
    switch (kind) {
    case LimitKind::CpuTemperature:
        return sample.cpuCelsius;
    case LimitKind::SystemPower:
        return sample.systemWatts;
    case LimitKind::FanSpeed:
        return sample.fanRpm;
    }
    return 0;
}

void AlertWatch::setLimits(const AlertLimits& limits) {
    for (const auto& definition : kLimits) {
        const auto i = slotOf(definition);
        if (limits[i] != m_limits[i])
            m_past[i] = false;
    }
    m_limits = limits;
}

std::vector<AlertRow> AlertWatch::check(const PowerSample& sample, std::int64_t timeSeconds) {
    std::vector<AlertRow> crossings;
    for (const auto& definition : kLimits) {
        const auto i = slotOf(definition);
        if (!m_limits[i])
            continue;
        const double limit = *m_limits[i];
        const double value = limitedValue(definition.kind, sample);
        const bool upper = definition.side == LimitSide::Upper;
        const bool beyond = upper ? value > limit : value < limit;
        const bool backInside =
            upper ? value < limit - definition.hysteresis : value > limit + definition.hysteresis;
        if (!m_past[i] && beyond) {
            m_past[i] = true;
            crossings.push_back({timeSeconds, std::string(definition.name), value, limit});
        } else if (m_past[i] && backInside) {
            m_past[i] = false;
        }
    }
    return crossings;
}

std::string alertMessage(const AlertRow& alert) {
    const auto* definition = definitionNamed(alert.limit);
    if (definition == nullptr)
        return alert.limit + " crossed its limit";
    const std::string unit(definition->unit);
    return std::string(definition->caption) + " " + decimal(alert.value, 0) + " " + unit + " is " +
           (definition->side == LimitSide::Upper ? "above" : "below") + " its limit of " +
           decimal(alert.threshold, 0) + " " + unit;
}

} // namespace solvane::history
