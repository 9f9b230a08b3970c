#include "history/PowerSample.h"

#include "power/PowerModeNames.h"

#include <algorithm>

namespace solvane::history {

namespace {
// 0.01 W·s in a kWh.
constexpr double kHundredthWattSecondsPerKWh = 3.6e8;
} // namespace

PowerSample samplePower(const power::Measurements& values, const power::SensorSnapshot& snapshot,
                        power::PowerMode mode) {
    PowerSample sample;
    sample.systemWatts = values.TotalConsumption / 10000.0;
    sample.cpuWatts = values.CpuConsumption / 10.0;
    sample.savingWatts = std::max(values.CurrentSaving, 0) / 100.0;
    sample.cpuCelsius = snapshot.cpuTemperature();
    sample.fanRpm = values.FanRpm;
    sample.coreVolts = values.CoreMilliVolts / 1000.0;
    // Rails read "0 W" when not positive.
    sample.railWatts = {std::max(values.P33, 0.0) / 10000.0, std::max(values.P5, 0.0) / 10000.0,
                        std::max(values.P12, 0.0) / 10000.0};
    sample.mode = mode;
    return sample;
}

double kilowattHoursOf(std::int64_t hundredthWattSeconds) {
    return static_cast<double>(hundredthWattSeconds) / kHundredthWattSecondsPerKWh;
}

double savedKilowattHours(const power::Measurements& values) {
    return kilowattHoursOf(values.TotalSavingHundredthKWh * power::kRemainderPerHundredthKWh +
                           values.TotalSavingRemainder);
}

std::string_view modeLabel(power::PowerMode mode) {
    const auto word = power::modeWord(mode);
    return word.empty() ? "None" : word;
}

} // namespace solvane::history
