#include "power/PowerMeasurement.h"

#include "platform/MemoryRegistry.h"
#include "power/EfficiencyCurve.h"

#include <cmath>
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
    // The total takes the CPU's consumption (1287.6 in 1/10 W) and its regulator's loss in with the
    // rails.
    EXPECT_EQ(m.TotalConsumption, 10900 + 1287600 + 73478);
    EXPECT_TRUE(m.PowerChipPresent);

    auto absent = intelReadings();
    absent.powerChipPresent = false;
    const auto& without = run(absent, 3);
    EXPECT_EQ(without.P33 + without.P5 + without.P12, 0);
    EXPECT_FALSE(without.PowerChipPresent);
    const auto texts = measurement->formatReadouts(absent, 2);
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

    const auto texts = measurement->formatReadouts(s, 3);
    EXPECT_EQ(texts.efficiency, "91.8 %") << "91.5 + 0.55 F for CPU phase setting 3";
    EXPECT_EQ(measurement->values().Efficiency, 24);
    // No efficiency curve to compare the regulator with: no CPU saving.
    EXPECT_EQ(texts.cpuSaving, "0.00 W");
    // A CPU phase setting without its own text shows the figure itself.
    EXPECT_EQ(measurement->formatReadouts(s, 5).efficiency, "2.4 %");
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
    const auto texts = measurement->formatReadouts(s, 0);
    EXPECT_EQ(texts.coreVoltage, "1.325 V");
    EXPECT_EQ(texts.boardTemperature, "-5'C / 23'F") << "2903 shows the board sensor of the buffer";
}

// The CPU regulator's efficiency is its output over its output and losses at the current it delivers
// with the phases that run: at 107.3 A (the CPU figures above) more phases lose less to conduction,
// at 5 A fewer phases lose less to switching.
TEST_F(PowerMeasurementTest, EfficiencyAndTotalFollowTheRegulatorsLossesAtThePhasesThatRun) {
    use(intelBoard(2917));
    const auto heavy = intelReadings();
    const int threePhases = run(heavy, 3).Efficiency;
    EXPECT_EQ(threePhases, 946) << "128.76 W out, 0.25 + 3 x 0.575 + 107.3² x 0.0014 / 3 W lost";
    EXPECT_EQ(measurement->values().TotalConsumption, 10900 + 1287600 + 73478) << "the loss is drawn too";
    // At six phases the current is read with another divisor; per ampere more phases lose less.
    const auto& six = run(heavy, 6);
    const double sixLoss = 0.25 + 6 * 0.575 + std::pow(six.CpuCurrent / 100.0, 2) * 0.0014 / 6;
    EXPECT_EQ(six.Efficiency,
              static_cast<int>(1000 * (six.CpuPower / 100.0) / (six.CpuPower / 100.0 + sixLoss)));

    auto light = intelReadings();
    light.sensors[6] = 171; // 5.0 A at one phase
    const int onePhase = run(light, 1).Efficiency;
    EXPECT_GT(onePhase, 800) << "one phase at 5 A: about 6 W out, under 1 W lost";
    EXPECT_EQ(measurement->formatReadouts(light, 0).efficiency,
              std::to_string(onePhase / 10) + "." + std::to_string(onePhase % 10) + " %");

    // Boards without the maker's regulator data keep the figure they had.
    use(intelBoard(2904));
    measurement->values().Efficiency = 123;
    EXPECT_EQ(run(heavy, 2).Efficiency, 123);
}

TEST_F(PowerMeasurementTest, ReadoutTexts) {
    use(intelBoard(2917));
    random.queue(kMiddle);
    const auto s = intelReadings();
    run(s, 3);
    const auto texts = measurement->formatReadouts(s, 2);
    EXPECT_EQ(texts.coreVoltage, "1.200 V");
    EXPECT_EQ(texts.efficiency, "94.6 %");
    EXPECT_EQ(texts.cpuTemperature, "45'C / 113'F");
    EXPECT_EQ(texts.boardTemperature, "38'C / 100'F");
    EXPECT_EQ(texts.fanSpeed, "2100 rpm");
    EXPECT_EQ(texts.rail33, "0.88 W");
    EXPECT_EQ(texts.rail5, "0.07 W");
    EXPECT_EQ(texts.rail12, "0.14 W");
    // The consumption is shown as measured (CpuPower 12876); the total adds it, the regulator's loss
    // and the rails.
    EXPECT_EQ(texts.cpuConsumption, "128.76 W\n");
    EXPECT_EQ(texts.totalConsumption, "137.20 W");
    EXPECT_EQ(texts.cpuSaving, "2.19 W\n")
        << "an ordinary regulator at 93.1 % against 94.6 % at three phases";
    EXPECT_EQ(texts.currentSaving, "0 W");
    EXPECT_EQ(texts.savingPercentage, "0 %");
    EXPECT_EQ(texts.energySaved, "0 Wh");

    // 2904 of the later revision reads its core voltage 9 % low.
    use(intelBoard(2904, 27));
    platformInfo.baseboardVersion = "6.0";
    auto s2904 = intelReadings();
    s2904.sensors[0] = 1100;
    run(s2904, 1);
    EXPECT_EQ(measurement->formatReadouts(s2904, 0).coreVoltage, "1.199 V");
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
        EXPECT_EQ(measurement->formatReadouts(s, setting).efficiency, text) << setting;
    // F = 1 adds 0.55.
    platform::ScriptedRandom top;
    top.queue(32767);
    PowerMeasurement m(platformInfo, top);
    EXPECT_EQ(m.formatReadouts(s, 1).efficiency, "88.5 %");
}

TEST_F(PowerMeasurementTest, TheSecondTemperatureComesFromTheBufferOnFiveBoards) {
    SensorSnapshot s;
    s.sensors[7] = 38;
    s.temperatures[1] = 51;
    for (int board = 2901; board <= 2918; ++board) {
        use(intelBoard(board));
        const bool buffer = board == 2906 || board == 2904 || board == 2903 || board == 2905 || board == 2902;
        EXPECT_EQ(measurement->formatReadouts(s, 0).boardTemperature,
                  buffer ? "51'C / 123'F" : "38'C / 100'F")
            << board;
    }
}

} // namespace
} // namespace solvane::power
