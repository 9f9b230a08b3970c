#include "platform/MemoryRegistry.h"
#include "power/KeptDefaultDraw.h"
#include "power/PowerMeasurement.h"
#include "power/ThisPcMeasurement.h"
#include "power/ThisPcPage.h"

#include <algorithm>
#include <functional>
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

// Default's draw is kept across runs: a run that starts in a saving mode counts its saving from
// its first refresh, when the machine, the draw and the source are the ones it was learned on.
// Whatever else is kept (another machine's table, another draw's, a damaged value) is not taken,
// and the run waits for Default as if nothing had been kept.
TEST_F(ThisPc, DefaultsDrawLearnedInAnEarlierRunCountsAtOnceOnlyOnTheSameMachineDrawAndSource) {
    constexpr std::string_view kMachine = "Desktop 9000\n\nMaker\n";
    const auto packageValue = std::string(kThisPcDrawValues[1].name);
    platform::MemoryRegistry earlier;
    measurement.loadKeptDefaultDraw(earlier, std::string(kMachine));
    for (int i = 0; i < 3; ++i)
        refresh(PowerMode::Default);
    measurement.keepDefaultDraw(earlier);
    const auto kept = earlier.readString(kSavingTotalsKey, packageValue);
    ASSERT_TRUE(kept.has_value()) << "kept under " << packageValue;
    EXPECT_FALSE(earlier.readString(kSavingTotalsKey, kThisPcDrawValues[0].name))
        << "nothing learned on battery";
    EXPECT_FALSE(earlier.readString(kSavingTotalsKey, kDefaultDrawValue))
        << "the boards' value is left alone";

    struct Case {
        const char* what;
        std::string machine;
        std::function<void(platform::Registry&)> change; // what happened to the registry since
        std::function<void(hw::MachineReadings&)> pc;    // what the PC measures on now
        bool counts;
    };
    const auto unchanged = [](auto&) {};
    const Case cases[] = {
        {"the same machine, draw and source", std::string(kMachine), unchanged, unchanged, true},
        {"another machine", "Laptop 12\n\nMaker\n", unchanged, unchanged, false},
        {"a graphics card measured now, not then", std::string(kMachine), unchanged,
         [](hw::MachineReadings& r) { r.graphics = watts(0.0, "libsensors: amdgpu \"power1\""); }, false},
        {"on battery: the table of the package is not the battery's", std::string(kMachine), unchanged,
         [](hw::MachineReadings& r) {
             r.supply = PowerSupplyState::Battery;
             r.battery = {.label = "battery", .value = 32.0, .source = "power_supply BAT0 power_now"};
         },
         false},
        {"cut short", std::string(kMachine),
         [&](platform::Registry& r) {
             r.writeString(kSavingTotalsKey, packageValue, kept->substr(0, kept->size() - 3));
         },
         unchanged, false},
        {"a figure out of range", std::string(kMachine),
         [&](platform::Registry& r) {
             auto text = *kept;
             text.replace(text.find(':') + 1, 2, "9e9");
             r.writeString(kSavingTotalsKey, packageValue, text);
         },
         unchanged, false},
        {"the key of another table", std::string(kMachine),
         [&](platform::Registry& r) {
             r.writeString(kSavingTotalsKey, packageValue, "2917" + kept->substr(kept->find(';')));
         },
         unchanged, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::MemoryRegistry registry;
        registry.writeString(kSavingTotalsKey, packageValue, *kept);
        c.change(registry);
        ThisPcMeasurement later;
        later.loadKeptDefaultDraw(registry, c.machine);
        auto pc = meter;
        c.pc(pc.readings);
        pc.readings.package.value = 32.0;
        Measurements laterValues;
        later.refresh(pc, 0.5, PowerMode::Optimize, 3.0, laterValues);
        const auto& figures = later.figures();
        if (c.counts) {
            ASSERT_TRUE(figures.savingWatts.has_value()) << figures.savingMissing;
            EXPECT_DOUBLE_EQ(*figures.savingWatts, 8.0);
            EXPECT_EQ(laterValues.LastIntervalSaving, 2400);
        } else {
            EXPECT_FALSE(figures.savingWatts.has_value());
            EXPECT_EQ(laterValues.LastIntervalSaving, 0);
        }
        const auto before = registry.readString(kSavingTotalsKey, packageValue);
        later.keepDefaultDraw(registry);
        EXPECT_EQ(registry.readString(kSavingTotalsKey, packageValue), before)
            << "a run that learned nothing of Default writes nothing";
    }
}

// A laptop unplugged and plugged in again within a run, and over two runs: each draw's table is
// kept apart and taken back when that draw is measured again.
TEST_F(ThisPc, ALaptopKeepsATableForTheBatteryAndOneForMains) {
    platform::MemoryRegistry registry;
    measurement.loadKeptDefaultDraw(registry, "Laptop 12\n");
    refresh(PowerMode::Default); // mains: 40 W package
    meter.readings.supply = PowerSupplyState::Battery;
    meter.readings.battery = {.label = "battery", .value = 20.0, .source = "power_supply BAT0 power_now"};
    refresh(PowerMode::Default);
    meter.readings.supply = PowerSupplyState::Mains;
    meter.readings.package.value = 30.0;
    refresh(PowerMode::Max);
    ASSERT_TRUE(measurement.figures().savingWatts.has_value()) << "mains' table came back within the run";
    EXPECT_DOUBLE_EQ(*measurement.figures().savingWatts, 10.0);
    measurement.keepDefaultDraw(registry);
    for (const auto& value : kThisPcDrawValues)
        EXPECT_TRUE(registry.readString(kSavingTotalsKey, value.name)) << value.name;

    ThisPcMeasurement later;
    later.loadKeptDefaultDraw(registry, "Laptop 12\n");
    meter.readings.supply = PowerSupplyState::Battery;
    meter.readings.battery.value = 15.0;
    Measurements laterValues;
    later.refresh(meter, 0.5, PowerMode::Max, 3.0, laterValues);
    ASSERT_TRUE(later.figures().savingWatts.has_value()) << later.figures().savingMissing;
    EXPECT_DOUBLE_EQ(*later.figures().savingWatts, 5.0) << "the battery's own Default draw, 20 W";
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
