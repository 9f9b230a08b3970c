// Limits and alerts: off until set, one alert per crossing, a new one only after the value came
// back inside by the hysteresis.
#include "history/AlertLimits.h"
#include "platform/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace solvane::history {
namespace {

PowerSample withTemperature(double celsius, double fanRpm = 2000) {
    PowerSample sample;
    sample.cpuCelsius = celsius;
    sample.fanRpm = fanRpm;
    sample.systemWatts = 100;
    return sample;
}

TEST(AlertLimits, AreOffUntilSetAndKeptUnderOurOwnKey) {
    platform::MemoryRegistry registry;
    EXPECT_EQ(readAlertLimits(registry), AlertLimits{});
    ASSERT_TRUE(writeAlertLimits(registry, {80, std::nullopt, 600}));
    EXPECT_EQ(registry.readString("Software\\Solvane\\History", "CpuTemperatureLimit"), "80");
    EXPECT_FALSE(registry.readString("Software\\Solvane\\History", "SystemPowerLimit"));
    EXPECT_EQ(registry.readString("Software\\Solvane\\History", "FanSpeedLimit"), "600");
    EXPECT_EQ(readAlertLimits(registry), (AlertLimits{80, std::nullopt, 600}));
    ASSERT_TRUE(writeAlertLimits(registry, {std::nullopt, 250, 600}));
    EXPECT_EQ(readAlertLimits(registry), (AlertLimits{std::nullopt, 250, 600}));
    registry.writeString("Software\\Solvane\\History", "FanSpeedLimit", "fast");
    EXPECT_FALSE(readAlertLimits(registry)[2]) << "an unreadable limit is off";
}

TEST(AlertWatch, FiresOncePerCrossingWithHysteresis) {
    AlertWatch watch;
    EXPECT_TRUE(watch.check(withTemperature(120), 1).empty()) << "no limits, no alerts";
    watch.setLimits({80, std::nullopt, std::nullopt});
    int alerts = 0;
    // 80 is on the limit, not over it; then over, wobbling on the edge, down to 78 (not 3 below),
    // over again: all one crossing. Down to 76.9 re-arms, 81 fires again.
    const double path[] = {80, 81, 79, 81, 78, 80.5, 77, 85, 76.9, 79, 81, 90};
    std::vector<std::int64_t> fired;
    std::int64_t time = 0;
    for (const double t : path) {
        for (const auto& alert : watch.check(withTemperature(t), ++time)) {
            ++alerts;
            fired.push_back(alert.time);
            EXPECT_EQ(alert.limit, "cpu_temperature");
            EXPECT_DOUBLE_EQ(alert.threshold, 80);
            EXPECT_DOUBLE_EQ(alert.value, t);
        }
    }
    EXPECT_EQ(fired, (std::vector<std::int64_t>{2, 11}));
}

TEST(AlertWatch, TheFanLimitIsALowerOne) {
    AlertWatch watch;
    watch.setLimits({std::nullopt, std::nullopt, 600});
    EXPECT_TRUE(watch.check(withTemperature(50, 600), 1).empty());
    const auto low = watch.check(withTemperature(50, 550), 2);
    ASSERT_EQ(low.size(), 1U);
    EXPECT_EQ(alertMessage(low[0]), "Fan speed 550 rpm is below its limit of 600 rpm");
    EXPECT_TRUE(watch.check(withTemperature(50, 690), 3).empty()); // not 100 above yet
    EXPECT_TRUE(watch.check(withTemperature(50, 590), 4).empty());
    EXPECT_TRUE(watch.check(withTemperature(50, 701), 5).empty());
    EXPECT_EQ(watch.check(withTemperature(50, 599), 6).size(), 1U);
}

TEST(AlertWatch, ChangingALimitStartsItAfresh) {
    AlertWatch watch;
    watch.setLimits({std::nullopt, 150, std::nullopt});
    PowerSample busy;
    busy.systemWatts = 200;
    busy.fanRpm = 2000;
    EXPECT_EQ(watch.check(busy, 1).size(), 1U);
    EXPECT_TRUE(watch.check(busy, 2).empty());
    watch.setLimits({std::nullopt, 180, std::nullopt});
    const auto again = watch.check(busy, 3);
    ASSERT_EQ(again.size(), 1U);
    EXPECT_EQ(alertMessage(again[0]), "System power 200 W is above its limit of 180 W");
}

// Each limit at and past its edge, and at and past the edge of its hysteresis: the value on the
// limit is not a crossing, the value back inside by exactly the hysteresis does not re-arm it yet.
TEST(AlertWatch, EachLimitFiresPastItsEdgeAndReArmsOnlyPastItsHysteresis) {
    struct Case {
        LimitKind kind;
        int limit;
        double hysteresis;
        double outward; // +1 for an upper limit, -1 for a lower one
    };
    const Case cases[] = {
        {LimitKind::CpuTemperature, 80, 3, +1},
        {LimitKind::SystemPower, 250, 5, +1},
        {LimitKind::FanSpeed, 600, 100, -1},
    };
    for (const auto& [kind, limit, hysteresis, outward] : cases) {
        const auto index = static_cast<std::size_t>(kind);
        SCOPED_TRACE(kLimits[index].name);
        AlertLimits limits{};
        limits[index] = limit;
        AlertWatch watch;
        watch.setLimits(limits);
        const auto at = [&](double offset) {
            // Values of the other two read-outs far inside any limit they could have.
            PowerSample sample;
            sample.cpuCelsius = 40;
            sample.systemWatts = 100;
            sample.fanRpm = 2000;
            const double value = limit + outward * offset;
            (kind == LimitKind::CpuTemperature ? sample.cpuCelsius
             : kind == LimitKind::SystemPower  ? sample.systemWatts
                                               : sample.fanRpm) = value;
            return watch.check(sample, 0).size();
        };
        // Offsets past the limit (positive) or back inside it (negative), and the alerts expected.
        const std::pair<double, std::size_t> path[] = {
            {-hysteresis - 1, 0},
            {0, 0},
            {0.5, 1},
            {0, 0},
            {1, 0},
            {-hysteresis, 0},
            {0.5, 0},
            {-hysteresis - 0.5, 0},
            {0, 0},
            {0.5, 1},
            {-hysteresis - 0.5, 0},
            {1, 1},
        };
        int step = 0;
        for (const auto& [offset, expected] : path)
            EXPECT_EQ(at(offset), expected) << "step " << step++ << ", offset " << offset;
    }
}

TEST(AlertLimits, ClearingALimitThatWasNeverSetSucceedsAndAFailedWriteIsReported) {
    platform::MemoryRegistry registry;
    EXPECT_TRUE(writeAlertLimits(registry, AlertLimits{})) << "nothing to delete is not a failure";
    ASSERT_TRUE(writeAlertLimits(registry, {85, 300, 700}));
    registry.setReadOnly(true);
    EXPECT_FALSE(writeAlertLimits(registry, {90, 300, 700})) << "a limit not kept is reported";
    EXPECT_FALSE(writeAlertLimits(registry, {std::nullopt, 300, 700})) << "a limit not cleared is reported";
    EXPECT_FALSE(writeAlertLimits(registry, {85, 300, std::nullopt})) << "the last one counts too";
    EXPECT_EQ(readAlertLimits(registry), (AlertLimits{85, 300, 700}));
    registry.setReadOnly(false);
    registry.writeString("Software\\Solvane\\History", "SystemPowerLimit", "250W");
    registry.writeString("Software\\Solvane\\History", "CpuTemperatureLimit", "");
    EXPECT_EQ(readAlertLimits(registry), (AlertLimits{std::nullopt, std::nullopt, 700}))
        << "a value with anything after its number, or an empty one, is off";
    EXPECT_EQ(alertMessage({0, "gpu_power", 12, 10}), "gpu_power crossed its limit");
}

} // namespace
} // namespace solvane::history
