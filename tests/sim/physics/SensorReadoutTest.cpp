#include "sim/SimTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace solvane::sim {
namespace {

namespace nimbrel = hw::nimbrel;
using std::chrono::seconds;

constexpr auto kCore = static_cast<std::size_t>(Regulator::CpuCore);

// The power monitor's rail powers as the program derives them, in watts; empty without the monitor.
struct RailPowers {
    double p33 = 0;
    double p5 = 0;
    double p12 = 0;
};

// What the program's power monitor computes from the raw sensor values: the read-outs the board's
// sensor units have to make plausible. Written here from the formulas the program is built to, as
// an independent check of the sensor encodings.
struct ProgramReadouts {
    double coreMillivolts = 0;
    double rail33 = 0;
    double rail5 = 0;
    double rail12 = 0;
    double fanRpm = 0;
    std::optional<RailPowers> rails;
    std::optional<double> cpuWatts; // CpuPower / 100, on the boards whose formulas give one
    std::optional<double> cpuAmps;  // CpuCurrent / 100 (2911: / 1000)
};

ProgramReadouts programReadouts(int board, const nimbrel::SensorArray& v, hw::Hoblin& smbus, int activePhases,
                                bool revision6) {
    ProgramReadouts out;
    const int kind = findBoardModel(board)->sensorKind;
    if (kind == 100 && board == 2911) {
        const int a = smbus.Smbus_JRW(0x5D, 0x11, 0);
        const int b = smbus.Smbus_JRW(0x5D, 0x12, 0);
        out.coreMillivolts = v[1] * 8;
        out.rail33 = (v[0] * 16) / 100.0;
        // One byte per rail gives volts; the program takes them to millivolts.
        out.rail5 = (b * 1976) / 47.0 / 100.0 * 1000;
        out.rail12 = (a * 880) / 10.0 / 100.0 * 1000;
    } else if (kind == 100) {
        out.coreMillivolts = v[1] * 8;
        out.rail33 = (v[board == 2910 ? 0 : 2] * 16) / 100.0;
        out.rail5 = (v[4] * 1976.0) / 47.0 / 1000.0;
        out.rail12 = (v[5] * 1760.0) / 20.0 / 1000.0;
    } else {
        out.coreMillivolts = v[0];
        out.rail33 = v[2];
        out.rail5 = v[3];
        out.rail12 = v[4];
    }
    if (revision6)
        out.coreMillivolts = static_cast<int>(out.coreMillivolts * 1.09);
    out.fanRpm = v[8];
    if (smbus.Smbus_JRW(0x5B, 0x4C, 0) == 0xA3) {
        const double a = smbus.Smbus_JRW(0x5B, 0x20, 0);
        const double c = smbus.Smbus_JRW(0x5B, 0x22, 0);
        const double b = smbus.Smbus_JRW(0x5B, 0x21, 0);
        RailPowers rails;
        rails.p33 = 100 * std::trunc(((a * 8 / 1000 - 0.054) / 0.03 + 2) * out.rail33 / 10) / 10000;
        rails.p5 = 100 * std::trunc(((c * 8 / 1000 - 0.07) / 0.045 + 2) * out.rail5 / 10) / 10000;
        rails.p12 = 100 * std::trunc(((b * 8 / 1000 - 0.1) / 0.102 + 1) * out.rail12 / 10) / 10000;
        out.rails = rails;
    }
    const double x = v[6] / 1000.0;
    const int p = activePhases;
    std::optional<double> current; // CpuCurrent
    struct Divisors {
        int board;
        double offset;
        std::array<double, 7> byPhases; // 0: no figure
    };
    const Divisors kDivisors[] = {
        {2918, 0.047, {0, 0, 0.03, 0.02, 0.015, 0.0122, 0}},
        {2917, 0.0363, {0, 0.027, 0.027, 0.0183, 0.0138, 0.0111, 0.0094}},
    };
    for (const auto& row : kDivisors)
        if (row.board == board && row.byPhases[static_cast<std::size_t>(p)] > 0)
            current = std::trunc(100 * (x - row.offset) / row.byPhases[static_cast<std::size_t>(p)]);
    if (board == 2916 && p >= 2 && p <= 5) {
        const double d[] = {0, 0, 0.026, 0.017, 0.0123, 0.01};
        current = std::trunc(100 * (x - (p >= 4 ? 0.0347 : 0.0345)) / d[p]);
    }
    if (board == 2915) {
        const double d[] = {0, 0.028, 0.028, 0.0185, 0.0138, 0.011, 0.00935};
        current = std::trunc(100 * ((x - 0.017) / d[p] + 1));
    }
    if (board == 2910 && p >= 1) {
        const double d[] = {0, 0.027, 0.027, 0.0183, 0.0136, 0.01104, 0.00926};
        current = std::trunc(100 * (8.0 * v[2] / 1000 - 0.0153) / d[p]);
    }
    if (current) {
        out.cpuAmps = *current / 100;
        out.cpuWatts = std::trunc(std::trunc(out.coreMillivolts) * *current / 1000) / 100;
    }
    if (board == 2911 && p >= 1 && p <= 4) {
        const double d[] = {0, 0.017, 0.0175, 0.0178, 0.0178};
        const double milliamps = std::trunc((8.0 * v[4] - 0.1448) / d[p]);
        out.cpuAmps = milliamps / 1000;
        out.cpuWatts = std::trunc(out.coreMillivolts * milliamps / 10000) / 100;
    }
    if (board == 2912)
        out.cpuWatts = 8.0 * v[6] / 100;
    return out;
}

struct BoardCase {
    int board;
    std::string_view version;
};

class SensorReadouts : public ::testing::TestWithParam<BoardCase> {};

// The program's read-outs, computed from what the sensor library and the monitors deliver, describe
// the board's physical state: core voltage, rails near their nominal values, rail powers adding up to
// what the rails carry, CPU current and power where the board's formulas give them.
TEST_P(SensorReadouts, MatchThePhysicsAcrossLoadsAndPhases) {
    const auto [code, version] = GetParam();
    const auto& model = *findBoardModel(code);
    for (const double load : {0.0, 0.35, 0.7, 1.0}) {
        test::ManualClock clock;
        auto options = test::testOptions(code, clock, load);
        options.baseboardVersion = std::string(version);
        SimulatedHardware hardware(options);
        test::loadLibraries(hardware);
        const auto module = hardware.modules().load(nimbrel::kXpModule);
        nimbrel::TemperatureBuffer temperatures{};
        nimbrel::SensorArray values{};
        ASSERT_EQ(
            (*module->find<nimbrel::GetTempFunction>(nimbrel::kGetTemp))(temperatures, model.sensorKind), 1);
        ASSERT_EQ((*module->find<nimbrel::GetVolFunction>(nimbrel::kGetVol))(values), 1);
        const auto& state = hardware.board().physics();
        const int phases = state.regulators[kCore].activePhases;
        const auto readouts = programReadouts(code, values, hardware.hoblin(), phases,
                                              version.find("6.") != std::string_view::npos);
        const auto where = ::testing::Message()
                           << "board " << code << " version " << version << ", load " << load;

        EXPECT_NEAR(static_cast<std::int8_t>(temperatures[0]), state.cpuCelsius, 0.5) << where;
        EXPECT_NEAR(static_cast<std::int8_t>(temperatures[1]), state.boardCelsius, 0.5) << where;
        EXPECT_NEAR(values[7], state.boardCelsius, 0.5) << where;
        EXPECT_NEAR(readouts.coreMillivolts, state.coreMillivolts, 20) << where;
        EXPECT_NEAR(readouts.fanRpm, state.fanRpm, 1) << where;
        // Rails in millivolts on every board; 2911's byte readings of 5 V and 12 V are coarse.
        EXPECT_NEAR(readouts.rail5, state.rail5Millivolts, code == 2911 ? 450 : 50) << where;
        EXPECT_NEAR(readouts.rail12, state.rail12Millivolts, code == 2911 ? 900 : 100) << where;
        EXPECT_NEAR(readouts.rail33, state.rail33Millivolts, 20) << where;

        if (readouts.rails) {
            const double total = readouts.rails->p33 + readouts.rails->p5 + readouts.rails->p12;
            // The CPU regulator has its own supply: the rails carry the rest.
            const double rest = state.totalWatts() - state.cpuSupplyWatts();
            EXPECT_NEAR(total, rest, 0.05 * rest + 3) << where;
            EXPECT_NEAR(readouts.rails->p12, state.board12Watts(), 3) << where;
        }
        if (readouts.cpuWatts) {
            EXPECT_GE(*readouts.cpuWatts, 5) << where;
            EXPECT_LE(*readouts.cpuWatts, 150) << where;
            EXPECT_NEAR(*readouts.cpuWatts, state.cpuWatts, 0.05 * state.cpuWatts + 1.5) << where;
        }
        if (readouts.cpuAmps) {
            EXPECT_NEAR(*readouts.cpuAmps, state.cpuAmps, 0.05 * state.cpuAmps + 1.0) << where;
        }
    }
}

std::vector<BoardCase> sensorCases() {
    std::vector<BoardCase> cases;
    for (const auto& board : boardModels())
        if (board.code != 0 && board.code != 2913 && board.code != 2914)
            cases.push_back({board.code, "1.0"});
    cases.push_back({2904, "6.0"});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<BoardCase>& test) {
    return "KX" + std::to_string(test.param.board) + (test.param.version == "6.0" ? "_Revision6" : "");
}

INSTANTIATE_TEST_SUITE_P(SupportedBoards, SensorReadouts, ::testing::ValuesIn(sensorCases()), caseName);

} // namespace
} // namespace solvane::sim
