#include "power/PhaseReadout.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

TEST(PhaseReadout, AutomaticShowsTheCountRunningAndFixedOptionsTheirName) {
    EXPECT_EQ(phaseReadout(0, shownPhaseCount(0, 2)), "Auto (2)") << "the regulator runs two";
    EXPECT_EQ(phaseReadout(0, shownPhaseCount(0, 0)), "Auto") << "a regulator that does not tell";
    EXPECT_EQ(phaseReadout(2, shownPhaseCount(2, 5)), "3 phase") << "a fixed option names its own count";
    EXPECT_EQ(phaseReadout(5, shownPhaseCount(5, 0)), "6 phase");
    EXPECT_EQ(phaseReadout(6, 7), "Auto");
    EXPECT_EQ(phaseReadout(7, 8), "Disable");
    EXPECT_EQ(phaseReadout(9, 10), "Enable");
    EXPECT_EQ(phaseReadout(10, 11), "AUTO");
    EXPECT_EQ(phaseReadout(11, 12), "N/A.") << "no name beyond the table";
    EXPECT_EQ(phaseReadout(kNotPresent, 1), "N/A.");
    EXPECT_EQ(phaseSwitchReadout(0), "Auto");
    EXPECT_EQ(phaseSwitchReadout(1), "Disable");
}

TEST(PhaseReadout, AutomaticCpuPhasesCountWhatTheRegulatorReports) {
    EXPECT_EQ(activeCpuPhaseCount(0, 6, 2), 2) << "the regulator runs two of its six";
    EXPECT_EQ(activeCpuPhaseCount(0, 6, 0), 6) << "no report: every level";
    EXPECT_EQ(activeCpuPhaseCount(3, 6, 2), 4) << "a fixed option is its own count";
    EXPECT_EQ(activeCpuPhaseCount(kNotPresent, 6, 2), 0);
}

} // namespace
} // namespace solvane::power
