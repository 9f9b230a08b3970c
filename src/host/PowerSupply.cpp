#include "host/PowerSupply.h"

#include "host/SysfsFile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace solvane::host {

namespace {

constexpr std::array<std::string_view, 7> kAttributes{"type",      "status",      "online",     "scope",
                                                      "power_now", "current_now", "voltage_now"};
constexpr double kWattsPerMicrowatt = 1e-6;
constexpr double kWattsPerMicroampMicrovolt = 1e-12;

std::optional<double> number(const PowerSupplyAttributes& entry, const std::string& name) {
    const auto found = entry.find(name);
    if (found == entry.end())
        return std::nullopt;
    long long value = 0;
    const auto& text = found->second;
    const auto [last, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || last != text.data() + text.size())
        return std::nullopt;
    return static_cast<double>(value);
}

std::string text(const PowerSupplyAttributes& entry, const std::string& name) {
    const auto found = entry.find(name);
    return found == entry.end() ? std::string() : found->second;
}

bool machineBattery(const PowerSupplyAttributes& entry) {
    return text(entry, "type") == "Battery" && text(entry, "scope") != "Device";
}

// The battery's draw in watts; some drivers sign the current of a discharging battery negative.
std::optional<double> drawWatts(const PowerSupplyAttributes& entry) {
    if (const auto power = number(entry, "power_now"))
        return std::abs(*power) * kWattsPerMicrowatt;
    const auto current = number(entry, "current_now");
    const auto voltage = number(entry, "voltage_now");
    if (current && voltage)
        return std::abs(*current * *voltage) * kWattsPerMicroampMicrovolt;
    return std::nullopt;
}

} // namespace

PowerSupplyReading powerSupplyReading(const std::map<std::string, PowerSupplyAttributes>& entries) {
    PowerSupplyReading reading;
    reading.battery.label = "battery";
    const PowerSupplyAttributes* discharging = nullptr;
    std::string dischargingName;
    bool anyBattery = false;
    for (const auto& [name, entry] : entries) {
        const auto type = text(entry, "type");
        if (type == "Mains" && number(entry, "online") == 1.0) {
            reading.state = hw::PowerSupplyState::Mains;
            reading.stateSource = "power_supply " + name + " (online 1)";
        }
        if (!machineBattery(entry))
            continue;
        anyBattery = true;
        const auto status = text(entry, "status");
        if (status == "Discharging" && discharging == nullptr) {
            discharging = &entry;
            dischargingName = name;
        } else if ((status == "Charging" || status == "Full") &&
                   reading.state == hw::PowerSupplyState::Unknown) {
            reading.state = hw::PowerSupplyState::Mains;
            reading.stateSource = "power_supply " + name + " (" + status + ")";
        }
    }
    // An online adapter outweighs a battery that reports discharging (some report it when full).
    if (discharging != nullptr && reading.state != hw::PowerSupplyState::Mains) {
        reading.state = hw::PowerSupplyState::Battery;
        reading.stateSource = "power_supply " + dischargingName + " (Discharging)";
        const std::string source = "power_supply " + dischargingName;
        reading.battery.value = drawWatts(*discharging);
        reading.battery.source =
            number(*discharging, "power_now") ? source + " power_now" : source + " current_now × voltage_now";
        if (!reading.battery.value) {
            reading.battery.missing = source + " tells neither power_now nor current_now and voltage_now";
            reading.battery.reason = hw::MissingReason::NoSensor;
        }
    } else if (!anyBattery) {
        reading.battery.missing = "no battery on this machine";
        reading.battery.reason = hw::MissingReason::NoSensor;
    } else {
        reading.battery.missing = "on mains power: the battery supplies nothing";
        reading.battery.reason = hw::MissingReason::NotNow;
    }
    return reading;
}

std::map<std::string, PowerSupplyAttributes> readPowerSupplies(const std::filesystem::path& sysfsRoot) {
    std::map<std::string, PowerSupplyAttributes> entries;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(sysfsRoot / "class" / "power_supply", error)) {
        auto& attributes = entries[entry.path().filename().string()];
        for (const auto name : kAttributes)
            if (auto value = readSysfsText(entry.path() / name))
                attributes.emplace(std::string(name), std::move(*value));
    }
    return entries;
}

} // namespace solvane::host
