#include "power/PowerMeasurement.h"

#include "platform/MemoryRegistry.h"
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
    // The total takes the CPU's consumption (1287.6 in 1/10 W) in with the rails.
    EXPECT_EQ(m.TotalConsumption, 10900 + 1287600);
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

// Rail readings whose powers land just above or just below a whole step, worked out from the
// rail formulas by hand: a constant a little off moves them across it.
TEST_F(PowerMeasurementTest, RailPowersJustAboveAndBelowAWholeStep) {
    struct Case {
        int a, c, b; // raw 3.3 V, 5 V and 12 V senses
        double p33, p5, p12;
    };
    use(intelBoard(2917));
    // 3.3 V: 49.0005 and 41.969; 5 V: 10.006 and 14.987; 12 V: 11.006 and 18.985.
    for (const auto& c : {Case{55, 110, 117, 4900, 1000, 1100}, Case{47, 166, 202, 4100, 1400, 1800}}) {
        random.queue(kMiddle);
        auto readings = intelReadings();
        readings.railSense33 = c.a;
        readings.railSense5 = c.c;
        readings.railSense12 = c.b;
        const auto& m = run(readings, 3);
        EXPECT_DOUBLE_EQ(m.P33, c.p33) << c.a;
        EXPECT_DOUBLE_EQ(m.P5, c.p5) << c.c;
        EXPECT_DOUBLE_EQ(m.P12, c.p12) << c.b;
    }
}

struct CpuCase {
    int board;
    int phases;
    int current;
    int power;
};

// Current and power for every phase count where the constants change, figured by
// hand from v[6] = 2000, v[2] = 206 and a core of 1200 mV.
TEST_F(PowerMeasurementTest, CpuFiguresPerBoardAndPhaseCount) {
    const std::vector<CpuCase> cases{
        {2918, 1, 0, 0},         {2918, 2, 6510, 7812},   {2918, 3, 9765, 11718},  {2918, 4, 13020, 15624},
        {2918, 5, 16008, 19209}, {2918, 6, 0, 0},         {2916, 2, 7559, 9070},   {2916, 3, 11561, 13873},
        {2916, 4, 15978, 19173}, {2916, 5, 19653, 23583}, {2917, 1, 7272, 8726},   {2917, 3, 10730, 12876},
        {2917, 4, 14229, 17074}, {2917, 5, 17690, 21228}, {2917, 6, 20890, 25068}, {2915, 2, 7182, 8618},
        {2915, 3, 10818, 12981}, {2915, 4, 14469, 17362}, {2915, 5, 18127, 21752}, {2915, 6, 21308, 25569},
        {2910, 1, 6047, 7256},   {2910, 3, 8921, 10705},  {2910, 4, 12005, 14406}, {2910, 5, 14788, 17745},
        {2910, 6, 17631, 21157},
    };
    random.queue(kMiddle);
    for (const auto& c : cases) {
        use(intelBoard(c.board));
        const auto& m = run(intelReadings(), c.phases);
        // The consumption is the CPU's power, in 1/10 W.
        EXPECT_DOUBLE_EQ(m.CpuConsumption, c.power / 10.0) << c.board << " p" << c.phases;
        EXPECT_EQ(m.CpuCurrent, c.current) << c.board << " p" << c.phases;
        EXPECT_EQ(m.CpuPower, c.power) << c.board << " p" << c.phases;
    }
    // The CPU panel's saving never exceeds the consumption.
    for (const int board : {2918, 2910}) {
        use(intelBoard(board));
        const auto& m = run(intelReadings(), 2);
        EXPECT_GE(m.CpuSavingFigure, 0) << board;
        EXPECT_LE(m.CpuSavingFigure, m.CpuConsumption) << board;
    }
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
    // The rail monitor's bytes give volts, kept in millivolts like every other board's rails.
    EXPECT_DOUBLE_EQ(m.Rail12, 119680);
    EXPECT_NEAR(m.Rail5, 50030.638297872336, 1e-6);
    EXPECT_EQ(m.CpuCurrent, 45706);
    EXPECT_EQ(m.CpuPower, 6216);
    EXPECT_DOUBLE_EQ(m.CpuConsumption, 621.6);
    EXPECT_NEAR(m.AmdCpuPower, 154814.37362637362, 1e-6);
    EXPECT_EQ(m.Efficiency, 249);

    const auto texts = measurement->formatReadouts(s, 2, 3);
    EXPECT_EQ(texts.efficiency, "91.8 %") << "91.5 + 0.55 F for CPU phase setting 3";
    EXPECT_EQ(measurement->values().Efficiency, 24);
    // No efficiency curve to compare the regulator with: no CPU saving.
    EXPECT_EQ(texts.cpuSaving, "0.00 W");
    // A CPU phase setting without its own text shows the figure itself.
    EXPECT_EQ(measurement->formatReadouts(s, 2, 5).efficiency, "2.4 %");
}

TEST_F(PowerMeasurementTest, AZeroConsumptionNeverDividesTheAmdEfficiency) {
    PlatformInfo amd = intelBoard(2911);
    amd.CpuVendor = "AMD";
    use(amd);
    SensorSnapshot s;
    s.sensors[1] = 170;
    s.sensors[4] = 100;
    s.sensors[4] = 0; // no current: no power and no consumption
    const auto& m = run(s, 2);
    EXPECT_EQ(m.CpuConsumption, 0);
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
    // The consumption is shown as measured (CpuPower 12876), and the total adds it to the rails.
    EXPECT_EQ(texts.cpuConsumption, "128.76 W\n");
    EXPECT_EQ(texts.totalConsumption, "129.85 W");
    EXPECT_EQ(texts.cpuSaving, "0.00 W\n");
    EXPECT_EQ(texts.currentSaving, "0 W");
    EXPECT_EQ(texts.savingPercentage, "0 %");
    EXPECT_EQ(texts.energySaved, "0 Wh");

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
    EXPECT_EQ(measurement->formatReadouts(s, 2, 0).efficiency, "82.0 %") << "S <= 15: 81 + J(2)";
}

// The efficiency bands of both Intel families, each rule at its edge, with the jitter at 0 and at its
// top (r = 32767 gives J(k) = k) so the direction of every jitter shows.
struct BandCase {
    int cpuPower;
    int before;
    int phases;
    int lowJitter;  // r = 0
    int highJitter; // r = 32767
};

class EfficiencyBands : public PowerMeasurementTest {
protected:
    void check(int board, const std::vector<BandCase>& cases) {
        for (const auto& c : cases) {
            for (const bool high : {false, true}) {
                platform::ScriptedRandom fixed;
                fixed.queue(high ? 32767 : 0);
                PlatformInfo info = intelBoard(board);
                PowerMeasurement m(info, fixed);
                m.values().CpuPower = c.cpuPower;
                m.values().Efficiency = c.before;
                m.computeTotalsAndEfficiency(c.phases);
                EXPECT_EQ(m.values().Efficiency, high ? c.highJitter : c.lowJitter)
                    << board << ": P " << c.cpuPower << ", Eff " << c.before << ", p " << c.phases
                    << (high ? ", top jitter" : ", no jitter");
            }
        }
    }
};

TEST_F(EfficiencyBands, BoardsOfTheFirstFamily) {
    const std::vector<BandCase> cases{
        {15001, 849, 5, 850, 880},
        {15001, 921, 5, 920, 890},
        {15000, 849, 5, 925, 930},
        {100, 936, 3, 935, 930},
        {100, 935, 3, 935, 935},
        // five phases: threshold 5500, band 925/915 around 927, floor 823
        {5501, 926, 5, 925, 930},
        {5501, 928, 5, 915, 920},
        {5501, 927, 5, 927, 927},
        {5500, 822, 5, 823, 828},
        {5500, 823, 5, 823, 823},
        // four phases: threshold 4800, 928 around 930, floor 846
        {4801, 929, 4, 928, 933},
        {4801, 931, 4, 928, 923},
        {4800, 845, 4, 846, 851},
        {4800, 846, 4, 846, 846},
        // three phases: threshold 3500, 931, floor 863
        {3501, 930, 3, 931, 936},
        {3501, 932, 3, 931, 926},
        {3500, 862, 3, 863, 868},
        {3500, 863, 3, 863, 863},
        // two phases: above 500 to 928; 101 to 499 held below 850; else floor 887
        {501, 927, 2, 928, 933},
        {501, 930, 2, 928, 923},
        {499, 851, 2, 850, 845},
        {101, 851, 2, 850, 845},
        {100, 851, 2, 887, 892},
        {499, 850, 2, 887, 892},
        {500, 886, 2, 887, 892},
    };
    check(2918, cases);
    check(2916, cases);
}

TEST_F(EfficiencyBands, BoardsOfTheSecondFamily) {
    const std::vector<BandCase> cases{
        {15001, 849, 6, 850, 880},
        {15001, 931, 6, 930, 900},
        {15000, 931, 6, 931, 931},
        {100, 946, 3, 945, 950},
        {100, 945, 3, 945, 945},
        // (threshold, floor, band low, band high) by phases: 6 (8500, 750, 920, 945),
        // 5 (6500, 780, 920, 935), 4 (4500, 810, 920, 930), 3 (3500, 830, 920, 928)
        {8499, 749, 6, 750, 755},
        {8499, 750, 6, 750, 750},
        {8501, 919, 6, 920, 925},
        {8500, 749, 6, 749, 749},
        {6499, 779, 5, 780, 785},
        {6501, 919, 5, 920, 925},
        {6501, 936, 5, 935, 940},
        {6501, 935, 5, 935, 935},
        {6500, 779, 5, 779, 779},
        {4499, 809, 4, 810, 815},
        {4501, 919, 4, 920, 925},
        {4501, 931, 4, 930, 935},
        {4500, 809, 4, 809, 809},
        {3499, 829, 3, 830, 835},
        {3501, 919, 3, 920, 925},
        {3501, 929, 3, 928, 933},
        {3500, 829, 3, 829, 829},
        // two phases: above 2000 within [870, 928]; 251 to 1999 within [860, 920]
        {2001, 869, 2, 870, 875},
        {2001, 929, 2, 928, 933},
        {2000, 869, 2, 869, 869},
        {1999, 859, 2, 860, 865},
        {1999, 921, 2, 920, 925},
        {251, 859, 2, 860, 865},
        {250, 859, 2, 859, 859},
        {100, 946, 2, 946, 946},
        // one phase: above 2000 within [880, 920] from below; 251 to 1999 floor 880
        {2001, 879, 1, 880, 875},
        {2001, 921, 1, 920, 915},
        {1999, 879, 1, 880, 885},
        {250, 879, 1, 879, 879},
    };
    check(2917, cases);
    check(2915, cases);
    check(2910, cases);
}

TEST_F(PowerMeasurementTest, AmdEfficiencyTextByCpuPhaseSetting) {
    PlatformInfo amd = intelBoard(2911);
    amd.CpuVendor = "AMD";
    use(amd);
    random.queue(0); // F = 0
    SensorSnapshot s;
    run(s, 2);
    const std::vector<std::pair<int, std::string>> texts{
        {0, "88.5 %"}, {1, "88.0 %"}, {2, "89.0 %"}, {3, "91.5 %"}};
    for (const auto& [setting, text] : texts)
        EXPECT_EQ(measurement->formatReadouts(s, 2, setting).efficiency, text) << setting;
    // F = 1 adds 0.55.
    platform::ScriptedRandom top;
    top.queue(32767);
    PowerMeasurement m(platformInfo, top);
    EXPECT_EQ(m.formatReadouts(s, 2, 1).efficiency, "88.5 %");
}

TEST_F(PowerMeasurementTest, TheSecondTemperatureComesFromTheBufferOnFiveBoards) {
    SensorSnapshot s;
    s.sensors[7] = 38;
    s.temperatures[1] = 51;
    for (int board = 2901; board <= 2918; ++board) {
        use(intelBoard(board));
        const bool buffer = board == 2906 || board == 2904 || board == 2903 || board == 2905 || board == 2902;
        EXPECT_EQ(measurement->formatReadouts(s, 2, 0).boardTemperature,
                  buffer ? "51'C / 123'F" : "38'C / 100'F")
            << board;
    }
}

} // namespace
} // namespace solvane::power
