#include "host/BoardSensors.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

SensorReading temperature(std::string chip, std::string label, double degrees) {
    return {SensorQuantity::Temperature, std::move(chip), std::move(label), degrees};
}
SensorReading voltage(std::string label, double volts) {
    return {SensorQuantity::Voltage, "it8728", std::move(label), volts};
}
SensorReading fan(std::string label, double rpm) {
    return {SensorQuantity::Fan, "it8728", std::move(label), rpm};
}

TEST(BoardSensors, TheProcessorsOwnSensorWinsOverABoardChipsCpuLabel) {
    const std::vector<SensorReading> readings{temperature("nct6775", "CPUTIN", 41.0),
                                              temperature("coretemp", "Package id 0", 45.0),
                                              temperature("acpitz", "temp1", 27.8)};
    const auto sensors = BoardSensors::pick(readings);
    EXPECT_EQ(sensors.cpuTemperature, 45.0);
    EXPECT_EQ(sensors.boardTemperature, 27.8) << "no board label: the ACPI zone";

    const std::vector<SensorReading> boardChipOnly{
        temperature("it8728", "temp1", 30.0), temperature("it8728", "CPU Temp", 52.0),
        temperature("it8728", "System Temp", 33.0), temperature("acpitz", "temp1", 27.8)};
    const auto board = BoardSensors::pick(boardChipOnly);
    EXPECT_EQ(board.cpuTemperature, 52.0);
    EXPECT_EQ(board.boardTemperature, 33.0);
    EXPECT_FALSE(BoardSensors::pick({}).cpuTemperature.has_value());
}

TEST(BoardSensors, RailsAreFoundByTheirLabelsNotByStandbyOrUnlabelledInputs) {
    const std::vector<SensorReading> readings{
        voltage("in0", 0.9),   voltage("3VSB", 3.39),    voltage("+3.3 V", 3.31),
        voltage("AVCC", 3.36), voltage("+5V", 5.04),     voltage("5VSB", 5.1),
        voltage("+12V", 12.1), voltage("CPU Core", 1.2), voltage("-12V", -12.2)};
    const auto sensors = BoardSensors::pick(readings);
    EXPECT_EQ(sensors.coreVoltage, 1.2);
    EXPECT_EQ(sensors.rail3v3, 3.31);
    EXPECT_EQ(sensors.rail5v, 5.04);
    EXPECT_EQ(sensors.rail12v, 12.1);

    const auto ryzen = BoardSensors::pick(std::vector<SensorReading>{voltage("VDDCR_CPU", 1.35)});
    EXPECT_EQ(ryzen.coreVoltage, 1.35);
    EXPECT_FALSE(ryzen.rail12v.has_value());
}

TEST(BoardSensors, TheFanIsOneThatTurnsTheCpuFanFirst) {
    EXPECT_EQ(BoardSensors::pick(std::vector{fan("CPU Fan", 0), fan("Chassis Fan", 900)}).fanRpm, 900);
    EXPECT_EQ(BoardSensors::pick(std::vector{fan("fan1", 700), fan("CPU_FAN", 1500)}).fanRpm, 1500);
    EXPECT_FALSE(BoardSensors::pick(std::vector{fan("fan1", 0)}).fanRpm.has_value());
}

TEST(BoardSensors, FillsTheLibraryBuffersInWholeUnitsWithinTheirRange) {
    BoardSensors sensors;
    sensors.cpuTemperature = 130.6;
    sensors.boardTemperature = -45.4;
    hw::nimbrel::TemperatureBuffer temperatures;
    temperatures.fill(0x55);
    EXPECT_EQ(sensors.fillTemperatures(temperatures), 1);
    EXPECT_EQ(temperatures,
              (hw::nimbrel::TemperatureBuffer{127, static_cast<std::uint8_t>(-45), 0, 0, 0, 0, 0, 0}));

    sensors.coreVoltage = 1.2126;
    sensors.rail12v = 11.9904;
    sensors.fanRpm = 2412.5;
    hw::nimbrel::SensorArray values;
    values.fill(-1);
    EXPECT_EQ(sensors.fillSensorArray(values), 1);
    hw::nimbrel::SensorArray expected{};
    expected[0] = 1213;
    expected[4] = 11990;
    expected[7] = -45;
    expected[8] = 2413;
    EXPECT_EQ(values, expected);

    const BoardSensors none;
    EXPECT_EQ(none.fillTemperatures(temperatures), 0);
    EXPECT_EQ(none.fillSensorArray(values), 0);
    EXPECT_EQ(values, hw::nimbrel::SensorArray{});
}

} // namespace
} // namespace solvane::host
