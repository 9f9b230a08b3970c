#include "platform/MemoryRegistry.h"
#include "power/EfficiencyCurve.h"
#include "power/PowerMeasurement.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

class SavingsAccountingTest : public ::testing::Test {
protected:
    SavingsAccountingTest() {
        platformInfo.BoardCode = 2917;
        platformInfo.CpuVendor = "Intel";
        random.queue(16384); // F = 0.50002
    }

    // One refresh's accounting with the given CPU and rail figures.
    const Measurements& refresh(PowerMode mode, int phases, int current, int power, double consumption,
                                int railSum) {
        auto& m = measurement.values();
        m.CpuCurrent = current;
        m.CpuPower = power;
        m.CpuConsumption = consumption;
        m.RailSum = railSum;
        measurement.accountSavings(mode, phases);
        measurement.updateEnergyTotal(registry);
        return m;
    }

    PlatformInfo platformInfo;
    platform::ScriptedRandom random;
    platform::MemoryRegistry registry;
    PowerMeasurement measurement{platformInfo, random};
};

TEST_F(SavingsAccountingTest, DefaultModeSavesNothing) {
    measurement.values().SampleCount = 4;
    const auto& m = refresh(PowerMode::Default, 3, 10730, 12876, 1931, 10900);
    EXPECT_EQ(m.CurrentSaving, 0);
    EXPECT_EQ(m.SavedPercentage, 0);
    EXPECT_EQ(m.SampleCount, 0);
    SensorSnapshot s;
    const auto texts = measurement.formatReadouts(s, 3, 0);
    EXPECT_EQ(texts.currentSaving, "0 W");
    EXPECT_EQ(texts.savingPercentage, "0 %");
    EXPECT_FALSE(registry.keyExists(kSavingTotalsKey)) << "nothing changed, nothing written";
}

TEST_F(SavingsAccountingTest, CpuPartComparesWithTheCurveAtTheLoadStep) {
    const auto& curve = *efficiencyCurveFor(2917);
    // What an ordinary regulator draws for the CPU power at the load step, less what this board's
    // draws at the efficiency it shows (93.0 %), both in 1/100 W.
    const auto cpuPart = [&](int power, std::size_t step, int efficiency) {
        return std::max(
            0, static_cast<int>(static_cast<int>(power * 100.0 / curve[step]) - power * 1000.0 / efficiency));
    };
    measurement.values().Efficiency = 930;
    // Current 2050: step (2050 - 50) / 100 = 20.
    const auto& m = refresh(PowerMode::Optimize, 3, 2050, 2460, 246.0, 10900);
    const int save = cpuPart(2460, 20, 930);
    ASSERT_GT(save, 0);
    EXPECT_EQ(m.CurrentSaving, save) << "first sample: no rail part yet";
    // The rail sum (1/10000 W) enters the 1/100 W figure scaled: 10900 is 1.09 W, 109.
    EXPECT_EQ(m.PowerWithoutSaving, 109 + save);
    EXPECT_EQ(m.SavedPercentage, save * 100 / (109 + save));
    EXPECT_EQ(m.SampleCount, 1);

    // A current of 120 gives step 0, raised to 1.
    PowerMeasurement light(platformInfo, random);
    light.values().CpuCurrent = 120;
    light.values().CpuPower = 150;
    light.values().Efficiency = 900;
    light.accountSavings(PowerMode::Max, 2);
    EXPECT_EQ(light.values().CurrentSaving, cpuPart(150, 1, 900));

    // Beyond the curve the last entry serves.
    PowerMeasurement heavy(platformInfo, random);
    heavy.values().CpuCurrent = 50000;
    heavy.values().CpuPower = 30000;
    heavy.values().Efficiency = 940;
    heavy.accountSavings(PowerMode::Max, 5);
    EXPECT_EQ(heavy.values().CurrentSaving, cpuPart(30000, 110, 940));

    // Without an efficiency figure there is nothing to compare with.
    PowerMeasurement unknown(platformInfo, random);
    unknown.values().CpuCurrent = 10730;
    unknown.values().CpuPower = 12876;
    unknown.accountSavings(PowerMode::Max, 3);
    EXPECT_EQ(unknown.values().CurrentSaving, 0);
}

TEST_F(SavingsAccountingTest, NoCpuPartAtSixPhasesOrWithoutACurve) {
    EXPECT_EQ(refresh(PowerMode::Optimize, 6, 10730, 12876, 1931, 10900).CurrentSaving, 0);
    platformInfo.BoardCode = 2903;
    PowerMeasurement noCurve(platformInfo, random);
    noCurve.values().CpuCurrent = 10730;
    noCurve.values().CpuPower = 12876;
    noCurve.accountSavings(PowerMode::Optimize, 3);
    EXPECT_EQ(noCurve.values().CurrentSaving, 0);
    EXPECT_EQ(noCurve.values().PowerWithoutSaving, 0);
}

TEST_F(SavingsAccountingTest, RailBaselineFollowsTheSamples) {
    // No CPU part at six phases, so only the rails count.
    auto& m = measurement.values();
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10900);
    EXPECT_EQ(m.RailBaseline, 10900);
    EXPECT_EQ(m.CurrentSaving, 0);

    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10000);
    EXPECT_EQ(m.RailBaseline, 900) << "the drop becomes the baseline";
    EXPECT_EQ(m.CurrentSaving, 9) << "0.09 W of rail power saved, in 1/100 W";
    EXPECT_EQ(m.PowerWithoutSaving, 109);

    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10000);
    EXPECT_EQ(m.CurrentSaving, 9) << "(0.95 + 0.1 F) of the baseline";
    EXPECT_EQ(m.PowerWithoutSaving, 109);
    EXPECT_EQ(m.SampleCount, 3);

    // Switching to Default keeps the baseline for the next mode, which averages with it.
    measurement.restartForMode(PowerMode::Default);
    EXPECT_EQ(m.PreviousRailBaseline, 900);
    EXPECT_EQ(m.SampleCount, 0);
    measurement.restartForMode(PowerMode::Max);
    refresh(PowerMode::Max, 6, 0, 0, 0, 11000);
    refresh(PowerMode::Max, 6, 0, 0, 0, 10700);
    EXPECT_EQ(m.RailBaseline, 600) << "(900 + 300) / 2";
    EXPECT_EQ(m.CurrentSaving, 3);
}

// A rail sensor gone wrong can read below zero, so the power without the saving can come out at
// nothing while a saving is counted: the percentage is then 0, never a division by it.
TEST_F(SavingsAccountingTest, ANegativeRailReadingNeverDividesByNothing) {
    auto& m = measurement.values();
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 20000);
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10000);
    refresh(PowerMode::Optimize, 6, 0, 0, 0, -10000); // F = 0.5: the saving is the 10000 baseline
    EXPECT_EQ(m.CurrentSaving, 100);
    EXPECT_EQ(m.PowerWithoutSaving, 0);
    EXPECT_EQ(m.SavedPercentage, 0);
}

TEST_F(SavingsAccountingTest, ABaselineIsKeptForTheNextModeOnlyOnceItIsAMeasuredDrop) {
    auto& m = measurement.values();
    // Optimize for one refresh, then Default: the baseline is still a whole rail sum.
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10900);
    measurement.restartForMode(PowerMode::Default);
    EXPECT_EQ(m.PreviousRailBaseline, 0) << "a whole sum is no drop";
    measurement.restartForMode(PowerMode::Optimize);
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10900);
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10500);
    EXPECT_EQ(m.CurrentSaving, 4) << "the drop alone, 0.04 W";
    measurement.restartForMode(PowerMode::Default);
    EXPECT_EQ(m.PreviousRailBaseline, 400);
}

TEST_F(SavingsAccountingTest, TheDropIsMeasuredFromTheLastDefaultRefreshAndFollowsTheRails) {
    auto& m = measurement.values();
    refresh(PowerMode::Default, 6, 0, 0, 0, 20000);
    refresh(PowerMode::Default, 6, 0, 0, 0, 20000);
    EXPECT_EQ(m.DefaultRailSum, 20000);
    // The mode's first refresh already runs the new settings.
    measurement.restartForMode(PowerMode::Max);
    refresh(PowerMode::Max, 6, 0, 0, 0, 16000);
    EXPECT_EQ(m.CurrentSaving, 0) << "first sample: no rail part yet";
    refresh(PowerMode::Max, 6, 0, 0, 0, 16000);
    EXPECT_EQ(m.CurrentSaving, 40) << "0.40 W below Default";
    // Later the drop keeps following the rails as they settle.
    for (int i = 0; i < 30; ++i)
        refresh(PowerMode::Max, 6, 0, 0, 0, 15000);
    EXPECT_NEAR(m.CurrentSaving, 50, 3);
}

TEST_F(SavingsAccountingTest, ARailSumThatDidNotFallRestartsTheComparison) {
    auto& m = measurement.values();
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10000);
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 10200);
    EXPECT_EQ(m.CurrentSaving, 0);
    EXPECT_EQ(m.PowerWithoutSaving, 0);
    EXPECT_EQ(m.SampleCount, 1) << "the next refresh is the second sample again";
    refresh(PowerMode::Optimize, 6, 0, 0, 0, 9800);
    EXPECT_EQ(m.CurrentSaving, 2);
}

TEST_F(SavingsAccountingTest, TheRemainderCarriesOneHundredthKilowattHourPerRefresh) {
    auto& m = measurement.values();
    m.TotalSavingRemainder = kRemainderPerHundredthKWh + 1;
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(m.TotalSavingHundredthKWh, 1);
    EXPECT_EQ(m.TotalSavingRemainder, 1);
    EXPECT_EQ(measurement.formatReadouts({}, 3, 0).energySaved, "0.01 kw-hr");
    EXPECT_EQ(registry.readDword(kSavingTotalsKey, "degree"), 1U);
    EXPECT_EQ(registry.readDword(kSavingTotalsKey, "totalPowerSaving"), 1U);

    m.TotalSavingRemainder = 2 * kRemainderPerHundredthKWh + 5;
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(m.TotalSavingHundredthKWh, 2);
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(m.TotalSavingHundredthKWh, 3);
    EXPECT_EQ(m.TotalSavingRemainder, 5);
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(m.TotalSavingHundredthKWh, 3) << "exactly 3600000 or less carries nothing";
}

TEST_F(SavingsAccountingTest, SmallTotalsShowWattsAndARemainderBackToZeroIsKept) {
    auto& m = measurement.values();
    m.TotalSavingRemainder = 12345;
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(measurement.formatReadouts({}, 3, 0).energySaved, "123.45 W");

    m.TotalSavingHundredthKWh = 4;
    m.TotalSavingRemainder = kRemainderPerHundredthKWh;
    measurement.updateEnergyTotal(registry);
    m.TotalSavingRemainder = 0;
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(registry.readDword(kSavingTotalsKey, "totalPowerSaving"), 0U)
        << "a stale remainder would be counted again after a restart";

    PowerMeasurement next(platformInfo, random);
    next.loadTotals(registry);
    EXPECT_EQ(next.values().TotalSavingHundredthKWh, 4);
    EXPECT_EQ(next.values().TotalSavingRemainder, 0);
}

} // namespace
} // namespace solvane::power
