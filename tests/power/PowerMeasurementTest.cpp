#include "power/PowerMeasurement.h"

#include "platform/TreeRegistry.h"
#include "power/EfficiencyCurve.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// r = 16384 gives J(5) = 2, J(30) = 15, J(50) = 25 and F = 0.50002.
constexpr int kMiddle = 16384;

PlatformInfo intelBoard(int code, int sensorKind = 100) {
    PlatformInfo info;
    info.BoardCode = code;
    info.BoardString = "KX-" + std::to_string(code);
    info.CpuVendor = "Intel";
    info.SensorKind = sensorKind;
    info.BoardSupported = true;
    return info;
}

// Core 1.200 V, rails 32.96 / 5.003 / 11.968 (sensor kind 100), CPU sense 2000, chip present.
SensorSnapshot intelReadings() {
    SensorSnapshot s;
    s.sensors[1] = 150;
    s.sensors[2] = 206;
    s.sensors[4] = 119;
    s.sensors[5] = 136;
    s.sensors[6] = 2000;
    s.sensors[7] = 38;
    s.sensors[8] = 2100;
    s.temperatures[0] = 45;
    s.temperatures[1] = static_cast<std::uint8_t>(-5);
    s.powerChipPresent = true;
    s.railSense33 = 100;
    s.railSense12 = 150;
    s.railSense5 = 80;
    return s;
}

class PowerMeasurementTest : public ::testing::Test {
protected:
    void use(const PlatformInfo& info) {
        platformInfo = info;
        measurement = std::make_unique<PowerMeasurement>(platformInfo, random);
    }
    const Measurements& run(const SensorSnapshot& s, int phases) {
        measurement->takeVoltagesAndRails(s);
        measurement->computeCpu(s, phases);
        measurement->computeTotalsAndEfficiency(phases);
        return measurement->values();
    }

    PlatformInfo platformInfo;
    platform::ScriptedRandom random;
    std::unique_ptr<PowerMeasurement> measurement;
};

TEST_F(PowerMeasurementTest, RailPowersFromThePowerMonitorChip) {
    random.queue(kMiddle);
    use(intelBoard(2917));
    const auto& m = run(intelReadings(), 3);
    EXPECT_EQ(m.CoreMilliVolts, 1200);
    EXPECT_DOUBLE_EQ(m.Rail33, 32.96);
    EXPECT_DOUBLE_EQ(m.Rail12, 11.968);
    EXPECT_EQ(m.FanRpm, 2100);
    EXPECT_DOUBLE_EQ(m.P33, 8800);
    EXPECT_DOUBLE_EQ(m.P5, 700);
    EXPECT_DOUBLE_EQ(m.P12, 1400);
    EXPECT_EQ(m.RailSum, 10900);
    EXPECT_TRUE(m.PowerChipPresent);

    auto absent = intelReadings();
    absent.powerChipPresent = false;
    const auto& without = run(absent, 3);
    EXPECT_EQ(without.P33 + without.P5 + without.P12, 0);
    EXPECT_FALSE(without.PowerChipPresent);
    const auto texts = measurement->formatReadouts(absent, 3, 2);
    EXPECT_EQ(texts.rail33, "0 W");
    EXPECT_EQ(texts.rail12, "0 W");
}

struct CpuCase {
    int board;
    int phases;
    double consumption;
    int current;
    int power;
};

// Consumption, current and power for every phase count where the constants change, figured by
// hand from v[6] = 2000, v[2] = 206 and a core of 1200 mV.
TEST_F(PowerMeasurementTest, CpuFiguresPerBoardAndPhaseCount) {
    const std::vector<CpuCase> cases{
        {2918, 1, 1832, 0, 0},
        {2918, 2, 1832, 6510, 7812},
        {2918, 3, 1832, 9765, 11718},
        {2918, 4, 1832, 13020, 15624},
        {2918, 5, 1832, 16008, 19209},
        {2918, 6, 1832, 0, 0},
        {2916, 2, 1989, 7559, 9070},
        {2916, 3, 1989, 11561, 13873},
        {2916, 4, 1989, 15978, 19173},
        {2916, 5, 1989, 19653, 23583},
        {2917, 1, 1931, 7272, 8726},
        {2917, 3, 1931, 10730, 12876},
        {2917, 4, 1931, 14229, 17074},
        {2917, 5, 1931, 17690, 21228},
        {2917, 6, 1931, 20890, 25068},
        {2915, 2, 195, 7182, 8618},
        {2915, 3, 195, 10818, 12981},
        {2915, 4, 195, 14469, 17362},
        {2915, 5, 195, 18127, 21752},
        {2915, 6, 195, 21308, 25569},
        {2910, 1, 112.9518943661972, 6047, 7256},
        {2910, 3, 112.9518943661972, 8921, 10705},
        {2910, 4, 112.9518943661972, 12005, 14406},
        {2910, 5, 112.9518943661972, 14788, 17745},
        {2910, 6, 112.9518943661972, 17631, 21157},
    };
    random.queue(kMiddle);
    for (const auto& c : cases) {
        use(intelBoard(c.board));
        const auto& m = run(intelReadings(), c.phases);
        EXPECT_NEAR(m.CpuConsumption, c.consumption, 1e-9) << c.board << " p" << c.phases;
        EXPECT_EQ(m.CpuCurrent, c.current) << c.board << " p" << c.phases;
        EXPECT_EQ(m.CpuPower, c.power) << c.board << " p" << c.phases;
    }
    use(intelBoard(2918));
    EXPECT_NEAR(run(intelReadings(), 2).CpuSavingFigure, 21.925376, 1e-9);
    use(intelBoard(2910));
    EXPECT_NEAR(run(intelReadings(), 2).CpuSavingFigure, 1351.8082717746481, 1e-9);
}

TEST_F(PowerMeasurementTest, AmdBoardFiguresAndEfficiency) {
    PlatformInfo amd = intelBoard(2911);
    amd.CpuVendor = "AMD";
    use(amd);
    SensorSnapshot s;
    s.sensors[0] = 206;
    s.sensors[1] = 170;
    s.sensors[2] = 150;
    s.sensors[4] = 100;
    s.sensors[5] = 1200;
    s.sensors[6] = 1;
    s.amdRail12 = 136;
    s.amdRail5 = 119;
    random.queue(kMiddle);
    const auto& m = run(s, 2);
    EXPECT_EQ(m.CoreMilliVolts, 1360);
    EXPECT_DOUBLE_EQ(m.Rail12, 119.68);
    EXPECT_NEAR(m.Rail5, 50.030638297872336, 1e-9);
    EXPECT_NEAR(m.CpuConsumption, 1236.6933333333334, 1e-9);
    EXPECT_EQ(m.CpuCurrent, 45706);
    EXPECT_EQ(m.CpuPower, 6216);
    EXPECT_NEAR(m.AmdCpuPower, 154814.37362637362, 1e-6);
    EXPECT_EQ(m.Efficiency, 125);

    const auto texts = measurement->formatReadouts(s, 2, 3);
    EXPECT_EQ(texts.efficiency, "91.8 %") << "91.5 + 0.55 F for CPU phase setting 3";
    EXPECT_EQ(measurement->values().Efficiency, 12);
    EXPECT_EQ(texts.cpuSaving, "1548.14 W");
    // A CPU phase setting without its own text shows the figure itself.
    EXPECT_EQ(measurement->formatReadouts(s, 2, 5).efficiency, "1.2 %");
}

TEST_F(PowerMeasurementTest, AZeroConsumptionNeverDividesTheAmdEfficiency) {
    PlatformInfo amd = intelBoard(2911);
    amd.CpuVendor = "AMD";
    use(amd);
    SensorSnapshot s;
    s.sensors[1] = 170;
    s.sensors[4] = 100;
    s.amdRail12 = 0; // Rail12 0 makes the consumption 0
    const auto& m = run(s, 2);
    EXPECT_EQ(m.CpuConsumption, 0);
    EXPECT_GT(m.CpuPower, 0);
    EXPECT_EQ(m.Efficiency, 0);
}

TEST_F(PowerMeasurementTest, Board2912PowerAndOtherSensorKinds) {
    use(intelBoard(2912));
    SensorSnapshot s = intelReadings();
    EXPECT_EQ(run(s, 2).CpuPower, 16000);

    use(intelBoard(2903, 27));
    s.sensors[0] = 1325;
    s.sensors[2] = 33;
    s.sensors[3] = 50;
    s.sensors[4] = 120;
    const auto& m = run(s, 1);
    EXPECT_EQ(m.CoreMilliVolts, 1325);
    EXPECT_DOUBLE_EQ(m.Rail33, 33);
    EXPECT_DOUBLE_EQ(m.Rail5, 50);
    EXPECT_DOUBLE_EQ(m.Rail12, 120);
    const auto texts = measurement->formatReadouts(s, 1, 0);
    EXPECT_EQ(texts.coreVoltage, "1.325 V");
    EXPECT_EQ(texts.boardTemperature, "-5'C / 23'F") << "2903 shows the board sensor of the buffer";
}

TEST_F(PowerMeasurementTest, EfficiencyConvergesIntoTheBandOfTheLoad) {
    // 2917 at three phases above 3500: from 0 straight into [920, 928].
    use(intelBoard(2917));
    random.queue(kMiddle);
    EXPECT_EQ(run(intelReadings(), 3).Efficiency, 922);
    // Heavy load with a low figure: 850 + J(30).
    auto heavy = intelReadings();
    heavy.sensors[6] = 2600;
    measurement->values().Efficiency = 800;
    EXPECT_EQ(run(heavy, 6).Efficiency, 865);

    use(intelBoard(2918));
    random.queue(kMiddle);
    EXPECT_EQ(run(intelReadings(), 3).Efficiency, 933) << "P 11718 > 3500, Eff 0 < 931: 931 + J(5)";
    measurement->values().Efficiency = 940;
    EXPECT_EQ(run(intelReadings(), 3).Efficiency, 933) << "Eff > 935: 935 - J(5)";
    // 2918 at two phases with a light load.
    auto light = intelReadings();
    light.sensors[6] = 137;
    measurement->values().Efficiency = 900;
    const auto& m = run(light, 2);
    EXPECT_GE(m.CpuPower, 101);
    EXPECT_LE(m.CpuPower, 499);
    EXPECT_EQ(m.Efficiency, 848);
}

TEST_F(PowerMeasurementTest, ReadoutTexts) {
    use(intelBoard(2917));
    random.queue(kMiddle);
    const auto s = intelReadings();
    run(s, 3);
    const auto texts = measurement->formatReadouts(s, 3, 2);
    EXPECT_EQ(texts.coreVoltage, "1.200 V");
    EXPECT_EQ(texts.efficiency, "92.2 %");
    EXPECT_EQ(texts.cpuTemperature, "45'C / 113'F");
    EXPECT_EQ(texts.boardTemperature, "38'C / 100'F");
    EXPECT_EQ(texts.fanSpeed, "2100 rpm");
    EXPECT_EQ(texts.rail33, "0.88 W");
    EXPECT_EQ(texts.rail5, "0.07 W");
    EXPECT_EQ(texts.rail12, "0.14 W");
    EXPECT_EQ(texts.cpuConsumption, "215.60 W\n") << "1931 < 2400 is lifted by 200 + J(50)";
    EXPECT_EQ(texts.totalConsumption, "1.28 W");
    EXPECT_EQ(texts.cpuSaving, "2.31 W\n");
    EXPECT_EQ(texts.currentSaving, "0 W");
    EXPECT_EQ(texts.savingPercentage, "0 %");
    EXPECT_EQ(texts.energySaved, "0 W");

    // 2904 of the later revision reads its core voltage 9 % low.
    use(intelBoard(2904, 27));
    platformInfo.baseboardVersion = "6.0";
    auto s2904 = intelReadings();
    s2904.sensors[0] = 1100;
    run(s2904, 1);
    EXPECT_EQ(measurement->formatReadouts(s2904, 1, 0).coreVoltage, "1.199 V");
}

TEST_F(PowerMeasurementTest, Board2910EfficiencyTextFollowsThePhaseCount) {
    use(intelBoard(2910));
    random.queue(kMiddle);
    const auto s = intelReadings();
    run(s, 6);
    EXPECT_EQ(measurement->formatReadouts(s, 6, 0).efficiency, "91.3 %");
    EXPECT_EQ(measurement->formatReadouts(s, 4, 0).efficiency, "90.7 %");
    EXPECT_EQ(measurement->formatReadouts(s, 3, 0).efficiency, "89.8 %");
    EXPECT_EQ(measurement->formatReadouts(s, 2, 0).efficiency, "86.0 %") << "S > 15";
}

} // namespace
} // namespace solvane::power
