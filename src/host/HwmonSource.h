#pragma once

#include "host/SensorSource.h"

#include <filesystem>

namespace solvane::host {

// Readings straight from the hwmon attributes under <sysfs>/class/hwmon, in the kernel's units
// (millidegrees, millivolts, rpm, microwatts) converted to degrees, volts, rpm and watts. No sensors
// configuration is applied, so divided rails read as the chip's pin sees them. Used for fixture trees, which
// libsensors cannot be pointed at.
class HwmonSource final : public SensorSource {
public:
    explicit HwmonSource(std::filesystem::path sysfsRoot) : m_sysfsRoot(std::move(sysfsRoot)) {}

    std::vector<SensorReading> read() override;
    std::string origin() const override {
        return "hwmon under " + (m_sysfsRoot / "class" / "hwmon").string();
    }

private:
    std::filesystem::path m_sysfsRoot;
};

} // namespace solvane::host
