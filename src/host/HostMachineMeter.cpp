#include "host/HostMachineMeter.h"

#include "host/BoardSensors.h"
#include "host/PowerSupply.h"

#include <chrono>

namespace solvane::host {

namespace {

// A picked sensor reading, or the reason there is none.
hw::MachineReading sensorReading(const SensorReading* picked, const std::string& origin,
                                 std::string missing) {
    if (picked == nullptr)
        return {.missing = std::move(missing) + " (" + origin + ")", .reason = hw::MissingReason::NoSensor};
    return {.label = picked->label,
            .value = picked->value,
            .source = origin + ": " + picked->chip + " \"" + picked->label + "\""};
}

} // namespace

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

HostMachineMeter::HostMachineMeter(std::filesystem::path sysfsRoot, std::shared_ptr<SensorSource> sensors,
                                   Clock clock)
    : m_sysfsRoot(std::move(sysfsRoot)), m_sensors(std::move(sensors)), m_clock(std::move(clock)),
      m_powercap(m_sysfsRoot) {
    // The first interval starts now, so the first refresh already shows the package's power.
    m_powercap.read(m_clock());
}

hw::MachineReadings HostMachineMeter::read() {
    hw::MachineReadings readings;
    auto powers = m_powercap.read(m_clock());
    readings.package = std::move(powers.package);
    readings.domains = std::move(powers.domains);

    auto supply = powerSupplyReading(readPowerSupplies(m_sysfsRoot));
    readings.supply = supply.state;
    readings.supplySource = std::move(supply.stateSource);
    readings.battery = std::move(supply.battery);

    const auto sensors = m_sensors->read();
    const auto origin = m_sensors->origin();
    const auto picks = SensorPicks::of(sensors);
    readings.cpuTemperature = sensorReading(picks.cpuTemperature, origin, "no CPU temperature sensor");
    readings.boardTemperature = sensorReading(picks.boardTemperature, origin, "no board temperature sensor");
    readings.coreVoltage = sensorReading(picks.coreVoltage, origin, "no sensor labelled as the core voltage");
    readings.graphics = sensorReading(picks.graphicsPower, origin, "no graphics-card power sensor");
    // The picked fan (the CPU's where it is labelled) leads the fans.
    if (picks.fan != nullptr)
        readings.fans.push_back(sensorReading(picks.fan, origin, {}));
    for (const auto& reading : sensors) {
        if (reading.quantity == SensorQuantity::Fan && reading.value > 0 && &reading != picks.fan)
            readings.fans.push_back(sensorReading(&reading, origin, {}));
        if (labelledVoltage(reading))
            readings.voltages.push_back(sensorReading(&reading, origin, {}));
    }
    return readings;
}

} // namespace solvane::host
