#pragma once

#include "hw/MachineMeter.h"

#include <filesystem>
#include <map>
#include <string>

namespace solvane::host {

// One entry of <sysfs>/class/power_supply as its attribute files hold it ("type", "status",
// "online", "scope", "power_now", "current_now", "voltage_now"; units µW, µA, µV).
using PowerSupplyAttributes = std::map<std::string, std::string>;

// The machine's supply and its draw from the battery.
struct PowerSupplyReading {
    hw::PowerSupplyState state = hw::PowerSupplyState::Unknown;
    std::string stateSource; // "power_supply AC (online 1)", "power_supply BAT0 (Discharging)"
    hw::MachineReading battery;
};

// What the entries say together: on mains when an adapter is online or a battery charges or is
// full, on battery when a battery discharges. A device's own battery (a mouse, scope "Device") is
// not the machine's. The battery's draw is power_now, else current_now × voltage_now, and only
// while it discharges: on mains it supplies nothing and power_now is its charging.
PowerSupplyReading powerSupplyReading(const std::map<std::string, PowerSupplyAttributes>& entries);

// The entries under <sysfs>/class/power_supply, by name.
std::map<std::string, PowerSupplyAttributes> readPowerSupplies(const std::filesystem::path& sysfsRoot);

} // namespace solvane::host
