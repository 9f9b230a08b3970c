#include "host/PowerSupply.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

using Entries = std::map<std::string, PowerSupplyAttributes>;
using hw::MissingReason;
using hw::PowerSupplyState;

TEST(PowerSupply, TheBatteryDrawIsMeasuredOnlyWhileItDischarges) {
    struct Case {
        const char* what;
        Entries entries;
        PowerSupplyState state;
        std::optional<double> watts;
        MissingReason reason;
    };
    const PowerSupplyAttributes mainsOnline{{"type", "Mains"}, {"online", "1"}};
    const PowerSupplyAttributes mainsOffline{{"type", "Mains"}, {"online", "0"}};
    const Case cases[] = {
        {"power_now (µW)",
         {{"AC", mainsOffline},
          {"BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"power_now", "4830000"}}}},
         PowerSupplyState::Battery,
         4.83,
         MissingReason::None},
        {"current_now × voltage_now (µA, µV)",
         {{"BAT0",
           {{"type", "Battery"},
            {"status", "Discharging"},
            {"current_now", "1472000"},
            {"voltage_now", "12366000"}}}},
         PowerSupplyState::Battery,
         18.202752,
         MissingReason::None},
        {"a current signed negative while discharging",
         {{"BAT0",
           {{"type", "Battery"},
            {"status", "Discharging"},
            {"current_now", "-2000000"},
            {"voltage_now", "11000000"}}}},
         PowerSupplyState::Battery,
         22.0,
         MissingReason::None},
        {"charging: the adapter feeds the PC",
         {{"BAT0", {{"type", "Battery"}, {"status", "Charging"}, {"current_now", "2977000"}}}},
         PowerSupplyState::Mains,
         std::nullopt,
         MissingReason::NotNow},
        {"an online adapter outweighs a battery that says it discharges",
         {{"AC", mainsOnline},
          {"BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"power_now", "1"}}}},
         PowerSupplyState::Mains,
         std::nullopt,
         MissingReason::NotNow},
        {"a mouse's battery is not the PC's",
         {{"hidpp_battery_0",
           {{"type", "Battery"}, {"scope", "Device"}, {"status", "Discharging"}, {"power_now", "100000"}}}},
         PowerSupplyState::Unknown,
         std::nullopt,
         MissingReason::NoSensor},
        {"a desktop on mains",
         {{"AC", mainsOnline}},
         PowerSupplyState::Mains,
         std::nullopt,
         MissingReason::NoSensor},
        {"discharging without a power figure",
         {{"BAT0", {{"type", "Battery"}, {"status", "Discharging"}}}},
         PowerSupplyState::Battery,
         std::nullopt,
         MissingReason::NoSensor},
        {"nothing at all", {}, PowerSupplyState::Unknown, std::nullopt, MissingReason::NoSensor},
    };
    for (const auto& c : cases) {
        const auto reading = powerSupplyReading(c.entries);
        EXPECT_EQ(reading.state, c.state) << c.what;
        EXPECT_EQ(reading.battery.reason, c.reason) << c.what;
        ASSERT_EQ(reading.battery.value.has_value(), c.watts.has_value())
            << c.what << ": " << reading.battery.missing;
        if (c.watts) {
            EXPECT_NEAR(*reading.battery.value, *c.watts, 1e-9) << c.what;
        }
        EXPECT_FALSE((c.watts ? reading.battery.source : reading.battery.missing).empty()) << c.what;
    }
}

} // namespace
} // namespace solvane::host
