#pragma once

#include "hw/HardwareLibraries.h"
#include "platform/Module.h"

#include <memory>
#include <string>
#include <vector>

namespace solvane::test {

// A power-saving module whose entry points log their calls ("SetPowerMode(7)") and deliver the
// temperatures and sensor values a test sets.
struct RecordingPowerModule {
    std::vector<std::string> calls;
    hw::nimbrel::TemperatureBuffer temperatures{};
    hw::nimbrel::SensorArray sensors{};

    std::shared_ptr<const platform::Module> module(std::string name = "Nimbrel_vista.dll");
    // The calls that change the power plan (everything but loads, sensors and detection).
    std::vector<std::string> planCalls() const;
};

} // namespace solvane::test
