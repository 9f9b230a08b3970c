#include "power/ThisPcMeasurement.h"
#include "power/ThisPcPage.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace solvane::power {
namespace {

using hw::MachineReading;
using hw::MissingReason;
using hw::PowerSupplyState;

// A PC whose read-outs the test sets before each refresh.
class ScriptedMeter final : public hw::MachineMeter {
public:
    hw::MachineReadings read() override { return readings; }
    hw::MachineReadings readings;
};

MachineReading watts(double value, std::string source) {
    return {.label = "package", .value = value, .source = std::move(source)};
}
MachineReading missing(MissingReason reason, std::string why) {
    return {.missing = std::move(why), .reason = reason};
}

class ThisPc : public ::testing::Test {
protected:
    void SetUp() override {
        meter.readings.package = watts(40.0, "powercap intel-rapl:0 (package-0)");
        meter.readings.graphics = missing(MissingReason::NoSensor, "no graphics-card power sensor");
        meter.readings.battery = missing(MissingReason::NoSensor, "no battery on this machine");
        for (auto* reading :
             {&meter.readings.cpuTemperature, &meter.readings.boardTemperature, &meter.readings.coreVoltage})
            *reading = missing(MissingReason::NoSensor, "no such sensor (hwmon under /sys/class/hwmon)");
    }
    void refresh(PowerMode mode, double load = 0.5) { measurement.refresh(meter, load, mode, 3.0, values); }
    const ThisPcRow& row(const ThisPcPage& page, std::string_view key) {
        return *std::find_if(page.rows.begin(), page.rows.end(),
                             [&](const ThisPcRow& r) { return r.reportKey == key; });
    }

    ScriptedMeter meter;
    ThisPcMeasurement measurement;
    Measurements values;
};

TEST_F(ThisPc, TheSavingIsDefaultsDrawAtThisLoadLessTheDrawNow) {
    for (int i = 0; i < 3; ++i)
        refresh(PowerMode::Default);
    EXPECT_EQ(measurement.figures().savingWatts, 0.0);
    EXPECT_FALSE(measurement.figures().savingEstimated);
    EXPECT_EQ(values.TotalConsumption, 400000) << "1/10000 W";
    EXPECT_EQ(values.CpuConsumption, 400) << "1/10 W";

    measurement.restartForMode(PowerMode::Optimize);
    meter.readings.package.value = 32.0;
    refresh(PowerMode::Optimize);
    const auto& figures = measurement.figures();
    ASSERT_TRUE(figures.savingWatts.has_value()) << figures.savingMissing;
    EXPECT_DOUBLE_EQ(*figures.savingWatts, 8.0);
    EXPECT_TRUE(figures.savingEstimated);
    EXPECT_EQ(values.CurrentSaving, 800) << "1/100 W";
    EXPECT_EQ(values.PowerWithoutSaving, 4000);
    EXPECT_EQ(values.SavedPercentage, 20);
    EXPECT_EQ(values.LastIntervalSaving, 2400) << "8 W over 3 s in 0.01 W·s";
    refresh(PowerMode::Optimize);
    EXPECT_EQ(values.TotalSavingRemainder, 4800) << "the intervals add up";

    const auto page = thisPcPage(figures, values);
    EXPECT_EQ(row(page, "Current Power Saving").text, "\u2248 8.00 W");
    EXPECT_NE(row(page, "Current Power Saving").source.find("Estimate"), std::string::npos);
    EXPECT_EQ(row(page, "Power Saving Percentage").text, "\u2248 20.0 %");
    EXPECT_EQ(row(page, "Measured Power").text, "32.00 W");
}

TEST_F(ThisPc, OnBatteryTheWholeSystemsDrawIsMeasuredAndAnUnplugStartsTheEstimateAfresh) {
    meter.readings.supply = PowerSupplyState::Battery;
    meter.readings.battery = {.label = "battery", .value = 12.5, .source = "power_supply BAT0 power_now"};
    refresh(PowerMode::Default);
    EXPECT_EQ(measurement.figures().drawSource, "battery draw (power_supply BAT0 power_now)");
    EXPECT_EQ(values.TotalConsumption, 125000);
    auto page = thisPcPage(measurement.figures(), values);
    EXPECT_EQ(row(page, "Total Power Consumption").text, "12.50 W") << "the whole PC, on battery";
    EXPECT_EQ(row(page, "Power Source").text, "Battery");

    // Plugged in: Default's draw on the battery says nothing of the package's.
    meter.readings.supply = PowerSupplyState::Mains;
    meter.readings.battery = missing(MissingReason::NotNow, "on mains power: the battery supplies nothing");
    meter.readings.graphics = watts(6.0, "libsensors: amdgpu \"power1\"");
    refresh(PowerMode::Max);
    EXPECT_FALSE(measurement.figures().savingWatts.has_value());
    EXPECT_NE(measurement.figures().drawSource.find("graphics card"), std::string::npos);
    EXPECT_DOUBLE_EQ(*measurement.figures().drawnWatts, 46.0) << "package and graphics card";
    page = thisPcPage(measurement.figures(), values);
    EXPECT_EQ(row(page, "Current Power Saving").text, "not yet");
    EXPECT_EQ(row(page, "Battery Draw").text, "on mains");
    EXPECT_EQ(row(page, "Total Power Consumption").text, "N/A.");
    EXPECT_EQ(values.CurrentSaving, 0);
}

TEST_F(ThisPc, ASavingIsNeverMoreThanWhatIsDrawn) {
    refresh(PowerMode::Default, 0.0);
    meter.readings.package.value = 1.0;
    // Default drew 40 W at this load; a PC drawing 1 W now cannot be saving 39 W.
    refresh(PowerMode::Max, 0.0);
    EXPECT_DOUBLE_EQ(*measurement.figures().savingWatts, 1.0);
}

TEST_F(ThisPc, WhatCannotBeReadIsNamedInItsPlace) {
    meter.readings.package =
        missing(MissingReason::NeedsRoot, "needs root: /sys/class/powercap/intel-rapl:0/energy_uj");
    meter.readings.domains = {
        missing(MissingReason::NeedsRoot, "needs root: /sys/class/powercap/intel-rapl:0:0/energy_uj")};
    meter.readings.domains[0].label = "core";
    refresh(PowerMode::Optimize);
    const auto& figures = measurement.figures();
    EXPECT_FALSE(figures.drawnWatts.has_value());
    EXPECT_EQ(values.TotalConsumption, 0);
    const auto page = thisPcPage(figures, values);
    for (const auto key : {"Power Consumption", "Measured Power", "Current Power Saving", "Core Power"}) {
        EXPECT_EQ(row(page, key).text, "needs root") << key;
        EXPECT_NE(row(page, key).missing.find("energy_uj"), std::string::npos) << key << ": names the file";
    }
    for (const auto key : {"Temperature", "Fan Speed", "Graphics Power", "Board Temperature", "Core Voltage"})
        EXPECT_EQ(row(page, key).text, "no sensor") << key;
    EXPECT_EQ(page.message, "This PC (the CPU power counters need root)");
    for (const auto& shown : page.rows)
        EXPECT_NE(shown.source.empty(), shown.missing.empty()) << shown.reportKey << ": a source or a reason";
}

TEST_F(ThisPc, RowsOfCountersThePcLacksAreHiddenAndTheBoardsOwnRowsStepAside) {
    meter.readings.domains = {watts(9.0, "powercap intel-rapl:0:0 (core)")};
    meter.readings.domains[0].label = "core";
    refresh(PowerMode::Default);
    const auto hidden = thisPcPage(measurement.figures(), values).layout.hiddenRows;
    EXPECT_EQ(hidden,
              (std::set<int>{basic_ids::kCpuEfficiency, basic_ids::kMemoryVoltage, basic_ids::kMemoryPhases,
                             basic_ids::kIohVoltage, basic_ids::kIohPhases, basic_ids::kRail12}))
        << "uncore and DRAM missing; the core row is shown";

    std::vector<std::string_view> absent;
    for (const auto& readout : absentBoardReadouts())
        absent.push_back(readout.reportKey);
    EXPECT_EQ(absent, (std::vector<std::string_view>{
                          "Power Saving", "Efficiency", "PWM TRYPH", "Memory Voltage", "Memory TRYPH",
                          "IOH Voltage", "IOH Temp.", "IOH TRYPH", "ICH Voltage", "3.3V Power\nConsumption",
                          "5V Power\nConsumption", "12V Power\nConsumption"}));
}

} // namespace
} // namespace solvane::power
