#include "platform/MemoryRegistry.h"
#include "power/PowerMeasurement.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

class SavingsAccountingTest : public ::testing::Test {
protected:
    SavingsAccountingTest() {
        platformInfo.BoardCode = 2917;
        platformInfo.CpuVendor = "Intel";
    }

    // One refresh's accounting with the CPU's consumption (1/10 W) and the 12 V rail (1/10000 W) as
    // the board's whole draw.
    const Measurements& refresh(PowerMode mode, double load, double cpuTenths, double rail12) {
        auto& m = measurement.values();
        m.CpuConsumption = cpuTenths;
        m.P12 = rail12;
        m.P5 = m.P33 = 0;
        m.TotalConsumption = static_cast<int>(cpuTenths * 1000 + rail12);
        measurement.accountSavings(mode, load);
        measurement.updateEnergyTotal(registry);
        return m;
    }

    PlatformInfo platformInfo;
    platform::ScriptedRandom random;
    platform::MemoryRegistry registry;
    PowerMeasurement measurement{platformInfo, random};
};

TEST_F(SavingsAccountingTest, DefaultModeSavesNothing) {
    const auto& m = refresh(PowerMode::Default, 0.5, 1000, 400000);
    EXPECT_EQ(m.CurrentSaving, 0);
    EXPECT_EQ(m.SavedPercentage, 0);
    EXPECT_EQ(m.LastIntervalSaving, 0);
    SensorSnapshot s;
    const auto texts = measurement.formatReadouts(s, 0);
    EXPECT_EQ(texts.currentSaving, "0 W");
    EXPECT_EQ(texts.savingPercentage, "0 %");
    EXPECT_EQ(texts.energySaved, "0 Wh");
    EXPECT_FALSE(registry.keyExists(kSavingTotalsKey)) << "nothing changed, nothing written";
}

// Default drew 100 W of CPU and 40 W on 12 V at half load; Max draws 60 W and 35 W there.
TEST_F(SavingsAccountingTest, TheSavingIsDefaultsDrawAtThisLoadLessTheDrawNow) {
    refresh(PowerMode::Default, 0.5, 1000, 400000);
    measurement.restartForMode(PowerMode::Max);
    const auto& m = refresh(PowerMode::Max, 0.5, 600, 350000);
    EXPECT_EQ(m.CurrentSaving, 4500) << "45 W in 1/100 W";
    EXPECT_EQ(m.PowerWithoutSaving, 14000);
    EXPECT_EQ(m.SavedPercentage, 32);
    EXPECT_EQ(m.LastIntervalSaving, 3 * 4500) << "over the 3 s since the last refresh";
    EXPECT_EQ(m.TotalSavingRemainder, 3 * 4500);
    EXPECT_EQ(registry.readDword(kSavingTotalsKey, "totalPowerSaving"), 3U * 4500);

    // The load doubles while Max runs: Default's draw there is the draw now at Max's share of it (with
    // neither the CPU's voltage nor its clock measured). The rail counts a quarter of its step at once.
    const auto& later = refresh(PowerMode::Max, 1.0, 1200, 400000);
    constexpr double kRailNow = 35 + (40 - 35) / 4.0;
    EXPECT_NEAR(later.CurrentSaving, 100 * (1200 * 10.0 / 6 / 10 - 120 + kRailNow * 40.0 / 35 - kRailNow), 1);
}

// A run that starts in a saving mode has no Default figure: it counts what running fewer CPU phases
// saves (the CPU panel's figure, 1/10 W) until Default has been seen.
TEST_F(SavingsAccountingTest, BeforeDefaultWasSeenOnlyWhatFewerPhasesSaveIsCounted) {
    measurement.values().CpuSavingFigure = 52;
    EXPECT_EQ(refresh(PowerMode::Optimize, 0.5, 600, 350000).CurrentSaving, 520);
    refresh(PowerMode::Default, 0.5, 1000, 400000);
    measurement.restartForMode(PowerMode::Optimize);
    EXPECT_EQ(refresh(PowerMode::Optimize, 0.5, 600, 350000).CurrentSaving, 4500);
}

TEST_F(SavingsAccountingTest, ASavingIsNeverMoreThanTheWholeDraw) {
    refresh(PowerMode::Default, 0.5, 3000, 400000);
    // A draw that fell to almost nothing (a reading gone wrong) does not save more than it draws.
    const auto& m = refresh(PowerMode::Optimize, 0.5, 10, 0);
    EXPECT_EQ(m.CurrentSaving, 100) << "1 W drawn, 1 W saved at most";
    EXPECT_EQ(m.SavedPercentage, 50);
}

TEST_F(SavingsAccountingTest, TheRemainderCarriesOneHundredthKilowattHourPerRefresh) {
    auto& m = measurement.values();
    m.TotalSavingRemainder = kRemainderPerHundredthKWh + 1;
    measurement.updateEnergyTotal(registry);
    EXPECT_EQ(m.TotalSavingHundredthKWh, 1);
    EXPECT_EQ(m.TotalSavingRemainder, 1);
    EXPECT_EQ(measurement.formatReadouts({}, 0).energySaved, "10.00 Wh");
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

TEST(SavedEnergyText, WattHoursBelowAKilowattHourKilowattHoursFromThere) {
    struct Case {
        std::int64_t hundredths;
        std::int64_t remainder;
        const char* text;
    };
    // The remainder is 0.01 W·s: 360000 of it make a watt-hour.
    for (const auto& c : {Case{0, 0, "0 Wh"}, Case{0, 12345, "0.03 Wh"}, Case{0, 3137073, "8.71 Wh"},
                          Case{1, 360000, "11.00 Wh"}, Case{99, 1800000, "995.00 Wh"},
                          Case{100, 0, "1.00 kw-hr"}, Case{12345, 3599999, "123.45 kw-hr"}})
        EXPECT_EQ(savedEnergyText(c.hundredths, c.remainder), c.text) << c.hundredths << " " << c.remainder;
    EXPECT_DOUBLE_EQ(savedWattHours(2, 720000), 22.0);
}

TEST_F(SavingsAccountingTest, ARemainderBackToZeroIsKept) {
    auto& m = measurement.values();

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
