#include "sim/physics/SensorCalibration.h"

#include <algorithm>
#include <cmath>

namespace solvane::sim {

std::int64_t encodeReading(const SensorSlot& sensor, double quantity, int activePhases) {
    const auto p = static_cast<std::size_t>(std::clamp(activePhases, 1, static_cast<int>(kMaxPhases)));
    const double raw = (sensor.offset[p] + sensor.gain[p] * quantity) / sensor.lsb;
    return std::llround(raw);
}

} // namespace solvane::sim
