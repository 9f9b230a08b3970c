#include "host/HwmonSource.h"

#include "host/SysfsFile.h"

#include <array>
#include <charconv>
#include <map>
#include <string_view>
#include <tuple>

namespace solvane::host {

namespace {

// The hwmon attribute families read: "<prefix><n><suffix>" holds the value in the kernel's unit,
// "<prefix><n>_label" the label; scale converts the value to degrees, volts, rpm or watts. Power
// comes as an average (older graphics drivers) or as the present value; the average is listed
// first, so it is the one a reader meets first.
struct HwmonAttribute {
    std::string_view prefix;
    std::string_view suffix;
    SensorQuantity quantity;
    double scale;
};

constexpr std::array<HwmonAttribute, 5> kAttributes{{
    {"temp", "_input", SensorQuantity::Temperature, 0.001}, // millidegrees Celsius
    {"in", "_input", SensorQuantity::Voltage, 0.001},       // millivolts
    {"fan", "_input", SensorQuantity::Fan, 1.0},            // rpm
    {"power", "_average", SensorQuantity::Power, 1e-6},     // microwatts
    {"power", "_input", SensorQuantity::Power, 1e-6},       // microwatts
}};

// "temp2_input" gives the temp family and 2.
std::optional<std::pair<const HwmonAttribute*, unsigned>> parseInputName(std::string_view fileName) {
    for (const auto& attribute : kAttributes) {
        if (!fileName.ends_with(attribute.suffix))
            continue;
        const auto name = fileName.substr(0, fileName.size() - attribute.suffix.size());
        if (!name.starts_with(attribute.prefix) || name.size() == attribute.prefix.size())
            continue;
        unsigned index = 0;
        const auto digits = name.substr(attribute.prefix.size());
        const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (error == std::errc() && last == digits.data() + digits.size())
            return std::pair{&attribute, index};
    }
    return std::nullopt;
}

std::optional<long> readInteger(const std::filesystem::path& file) {
    const auto text = readSysfsText(file);
    if (!text)
        return std::nullopt;
    long value = 0;
    const auto [last, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || last != text->data() + text->size())
        return std::nullopt;
    return value;
}

// Older drivers keep their attributes in the hwmon device's parent ("hwmon0/device").
std::filesystem::path attributeFolder(const std::filesystem::path& hwmon) {
    std::error_code error;
    if (!std::filesystem::exists(hwmon / "name", error) &&
        std::filesystem::exists(hwmon / "device" / "name", error))
        return hwmon / "device";
    return hwmon;
}

} // namespace

std::vector<SensorReading> HwmonSource::read() {
    // Sorted by hwmon folder, then family and index, so the order does not depend on the directory.
    std::map<std::filesystem::path, std::map<std::tuple<std::size_t, unsigned>, SensorReading>> chips;
    std::error_code error;
    for (const auto& hwmon : std::filesystem::directory_iterator(m_sysfsRoot / "class" / "hwmon", error)) {
        const auto folder = attributeFolder(hwmon.path());
        const std::string chip = readSysfsText(folder / "name").value_or("");
        std::error_code listError;
        for (const auto& file : std::filesystem::directory_iterator(folder, listError)) {
            const std::string fileName = file.path().filename().string();
            const auto parsed = parseInputName(fileName);
            if (!parsed)
                continue;
            const auto& [attribute, index] = *parsed;
            const auto raw = readInteger(file.path());
            if (!raw)
                continue;
            const std::string name = std::string(attribute->prefix) + std::to_string(index);
            const std::string label = readSysfsText(folder / (name + "_label")).value_or(name);
            chips[hwmon.path()].emplace(
                std::tuple{static_cast<std::size_t>(attribute - kAttributes.data()), index},
                SensorReading{attribute->quantity, chip, label,
                              static_cast<double>(*raw) * attribute->scale});
        }
    }
    std::vector<SensorReading> readings;
    for (const auto& [path, chipReadings] : chips)
        for (const auto& [key, reading] : chipReadings)
            readings.push_back(reading);
    return readings;
}

} // namespace solvane::host
