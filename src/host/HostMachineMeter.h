#pragma once

#include "host/PowercapMeter.h"
#include "host/SensorSource.h"
#include "hw/MachineMeter.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace solvane::host {

// The read-outs of the PC the host back-end runs on: CPU power from the powercap counters, the
// supply and battery draw from power_supply, and temperatures, fans, voltages and the graphics
// card's power from the sensors.
class HostMachineMeter final : public hw::MachineMeter {
public:
    // Seconds on a clock that only goes forward.
    using Clock = std::function<double()>;

    HostMachineMeter(std::filesystem::path sysfsRoot, std::shared_ptr<SensorSource> sensors, Clock clock);

    hw::MachineReadings read() override;

private:
    std::filesystem::path m_sysfsRoot;
    std::shared_ptr<SensorSource> m_sensors;
    Clock m_clock;
    PowercapMeter m_powercap;
};

// Seconds of the system's monotonic clock.
double monotonicSeconds();

} // namespace solvane::host
