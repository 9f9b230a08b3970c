#include "power/CpuRegulatorModel.h"

#include "power/EfficiencyCurve.h"

#include <cmath>
#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// The maker measured each board's regulator with every phase running at a 1.2 V core; load step n
// stands for (n + 0.5) A. The physical model must reproduce those tables within 3 points, except
// where 2918's table bends at its light end (1.5, 5.5 and 6.5 A: 3.5 points).
TEST(CpuRegulatorModel, AgreesWithTheMakersEfficiencyTablesOverTheirRange) {
    constexpr double kCoreVolts = 1.2;
    for (const int board : {2910, 2915, 2916, 2917, 2918}) {
        const auto* model = cpuRegulatorModelFor(board);
        const auto* curve = efficiencyCurveFor(board);
        ASSERT_NE(model, nullptr) << board;
        ASSERT_NE(curve, nullptr) << board;
        for (std::size_t step = 1; step < kEfficiencyCurveSize; ++step) {
            const double amps = static_cast<double>(step) + 0.5;
            const double shown = 100 * model->efficiency(amps, kCoreVolts, model->phases);
            const double allowed = board == 2918 && (step == 1 || step == 5 || step == 6) ? 3.5 : 3.0;
            EXPECT_NEAR(shown, (*curve)[step], allowed) << board << " at " << amps << " A";
        }
    }
    EXPECT_EQ(cpuRegulatorModelFor(2911), nullptr) << "no table, no model";
}

// Shedding phases pays at light load (less switching) and costs at heavy load (more conduction);
// outside the regulator's phases the count is held to what it has.
TEST(CpuRegulatorModel, FewerPhasesLoseLessAtLightLoadAndMoreAtHeavyLoad) {
    const auto& model = *cpuRegulatorModelFor(2917);
    EXPECT_LT(model.lossWatts(5, 1), model.lossWatts(5, 6));
    EXPECT_GT(model.lossWatts(120, 2), model.lossWatts(120, 6));
    EXPECT_DOUBLE_EQ(model.lossWatts(40, 9), model.lossWatts(40, 6));
    EXPECT_DOUBLE_EQ(model.lossWatts(40, 0), model.lossWatts(40, 1));
    EXPECT_EQ(model.efficiency(0, 1.2, 3), 0.0) << "nothing delivered, no efficiency";
}

} // namespace
} // namespace solvane::power
