#include "host/LibsensorsSource.h"

#include <array>
#include <cstdlib>
#include <mutex>

extern "C" {
#include <sensors/sensors.h>
}

namespace solvane::host {

namespace {

// The libsensors features the program reads, the sub-features that may hold the current value
// (the first one the chip has), and the quantity it measures. Graphics drivers give power as an
// average or as the present value.
struct FeatureInput {
    sensors_feature_type feature;
    std::array<sensors_subfeature_type, 2> inputs;
    SensorQuantity quantity;
};

constexpr std::array<FeatureInput, 4> kFeatureInputs{{
    {SENSORS_FEATURE_TEMP,
     {SENSORS_SUBFEATURE_TEMP_INPUT, SENSORS_SUBFEATURE_TEMP_INPUT},
     SensorQuantity::Temperature},
    {SENSORS_FEATURE_IN, {SENSORS_SUBFEATURE_IN_INPUT, SENSORS_SUBFEATURE_IN_INPUT}, SensorQuantity::Voltage},
    {SENSORS_FEATURE_FAN, {SENSORS_SUBFEATURE_FAN_INPUT, SENSORS_SUBFEATURE_FAN_INPUT}, SensorQuantity::Fan},
    {SENSORS_FEATURE_POWER,
     {SENSORS_SUBFEATURE_POWER_AVERAGE, SENSORS_SUBFEATURE_POWER_INPUT},
     SensorQuantity::Power},
}};

std::mutex libraryMutex;
int libraryUsers = 0;
bool libraryReady = false;

const FeatureInput* inputOf(sensors_feature_type type) {
    for (const auto& input : kFeatureInputs)
        if (input.feature == type)
            return &input;
    return nullptr;
}

} // namespace

LibsensorsSource::LibsensorsSource() {
    const std::lock_guard lock(libraryMutex);
    if (libraryUsers++ == 0)
        libraryReady = sensors_init(nullptr) == 0;
    m_ready = libraryReady;
}

LibsensorsSource::~LibsensorsSource() {
    const std::lock_guard lock(libraryMutex);
    if (--libraryUsers == 0 && libraryReady) {
        sensors_cleanup();
        libraryReady = false;
    }
}

std::vector<SensorReading> LibsensorsSource::read() {
    std::vector<SensorReading> readings;
    if (!m_ready)
        return readings;
    int chipIndex = 0;
    while (const sensors_chip_name* chip = sensors_get_detected_chips(nullptr, &chipIndex)) {
        int featureIndex = 0;
        while (const sensors_feature* feature = sensors_get_features(chip, &featureIndex)) {
            const FeatureInput* input = inputOf(feature->type);
            if (input == nullptr)
                continue;
            const sensors_subfeature* subfeature = nullptr;
            for (const auto type : input->inputs)
                if (subfeature == nullptr)
                    subfeature = sensors_get_subfeature(chip, feature, type);
            double value = 0;
            if (subfeature == nullptr || sensors_get_value(chip, subfeature->number, &value) != 0)
                continue;
            char* label = sensors_get_label(chip, feature);
            readings.push_back({input->quantity, chip->prefix != nullptr ? chip->prefix : "",
                                label != nullptr ? label : feature->name, value});
            std::free(label);
        }
    }
    return readings;
}

} // namespace solvane::host
