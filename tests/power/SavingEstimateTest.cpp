#include "power/SavingEstimate.h"

#include "power/CpuRegulatorModel.h"

#include <cmath>
#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// A refresh at a CPU load with the CPU's supply and one rail measured (watts).
SavingEstimate::Sample at(double load, double cpuWatts, double railWatts) {
    return {load, {cpuWatts, railWatts, 0.0, 0.0}};
}

TEST(SavingEstimate, HasNoEstimateBeforeDefaultWasSeen) {
    SavingEstimate estimate;
    EXPECT_FALSE(estimate.saving(at(0.5, 60, 35)));
}

TEST(SavingEstimate, DefaultsDrawAtThisLoadFollowsItsReadingsAsTheySettle) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.5, 100, 40));
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 60, 40)), 40.0) << "the first reading starts the table";
    // Default's fan and temperatures settle a minute later, a few watts higher: the table follows
    // them instead of keeping the first reading.
    for (int refresh = 0; refresh < 20; ++refresh)
        estimate.observeDefault(at(0.5, 110, 40));
    EXPECT_NEAR(*estimate.saving(at(0.5, 60, 40)), 50.0, 0.2);
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.52, 60, 40)), *estimate.saving(at(0.5, 60, 40)))
        << "loads within a bin count alike";
}

TEST(SavingEstimate, AtALoadDefaultNeverRanEachPartIsScaledByItsShareAtTheNearestLoad) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.25, 50, 40));
    estimate.observeDefault(at(0.90, 120, 50));
    // At 25 % the mode draws half the CPU power and three quarters of the rail's.
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.25, 25, 30)), 35.0);
    // At 40 % Default never ran: the CPU's draw now doubled, the rail's times 4/3. The Default
    // figure of 90 % is no measure of 40 %, and only 25 % taught a share.
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.40, 40, 30)), 40.0 + 10.0);
    // The share taught at 25 % also serves far above it, where the mode never ran with Default.
    EXPECT_DOUBLE_EQ(*estimate.saving(at(1.0, 80, 30)), 80.0 + 10.0);
}

// A rail monitor reads in steps of about a watt, so a rail's reading flips between neighbours from
// one refresh to the next: the saving follows the rail's settled draw, not each flip.
TEST(SavingEstimate, TheModesRailsAreSmoothedAndItsCpuPartIsNot) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.5, 100, 40));
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 60, 30)), 50.0);
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 60, 34)), 49.0) << "a quarter of the rail's step";
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 80, 31)), 29.0) << "the CPU's step counts at once";
    estimate.restartMode();
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 60, 34)), 46.0) << "another mode starts from its own reading";
}

TEST(SavingEstimate, AnotherModeLearnsItsOwnSharesButKeepsDefaultsDraw) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.25, 50, 40));
    estimate.saving(at(0.25, 25, 40));
    estimate.restartMode();
    EXPECT_FALSE(estimate.saving(at(0.7, 40, 40))) << "no share learned for this mode yet";
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.25, 40, 40)), 10.0);
}

TEST(SavingEstimate, WithoutALoadReadingEveryRefreshCountsAsOneLoad) {
    SavingEstimate estimate;
    estimate.observeDefault({std::nullopt, {100, 0, 0, 0}});
    EXPECT_DOUBLE_EQ(*estimate.saving({std::nullopt, {70, 0, 0, 0}}), 30.0);
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.0, 70, 0)), 30.0) << "the same as an idle CPU";
}

TEST(SavingEstimate, PartsAddUpAndTheWholeNeverSavesLessThanNothing) {
    SavingEstimate estimate;
    estimate.observeDefault(at(0.5, 50, 40));
    EXPECT_DOUBLE_EQ(*estimate.saving(at(0.5, 45, 42)), 3.0) << "a fan faster in the mode costs 2 W";
    EXPECT_EQ(estimate.saving(at(0.5, 55, 41)), 0.0) << "more than Default: no saving, and no negative one";
}

// A CPU as physics has it: leakage going with the square of the core voltage, switching power with
// the square of the voltage times the clock and with the work it does. Watts at Default's voltage
// and clock.
struct ModelCpu {
    double leakage;
    double switchingAtFullLoad;
    static constexpr double kDefaultVolts = 1.25;
    double watts(double load, double volts, double clock) const {
        return std::pow(volts / kDefaultVolts, 2) *
               (leakage + switchingAtFullLoad * (0.1 + 0.9 * load) * clock);
    }
};

// The core voltage a sensor reads where the regulator holds `setpoint` and delivers `watts`: lower by
// the load line's droop at the current, V = setpoint − R·P/V.
double droopedVolts(double setpoint, double watts, const CpuRegulatorModel* regulator) {
    const double ohms = regulator != nullptr ? regulator->loadLineOhms : 0.0;
    return (setpoint + std::sqrt(setpoint * setpoint - 4 * ohms * watts)) / 2;
}

// A refresh of a board that measures the CPU's power; its supply adds the regulator's loss (none
// without a model) and a rail draws 30 W. The CPU's power follows the regulator's setpoint `volts`;
// the sensor reads it drooped by the regulator's load line.
SavingEstimate::Sample cpuAt(const ModelCpu& cpu, double load, double volts, double clock, int phases,
                             const CpuRegulatorModel* regulator = nullptr) {
    const double watts = cpu.watts(load, volts, clock);
    const double measured = droopedVolts(volts, watts, regulator);
    const double loss = regulator != nullptr ? regulator->lossWatts(watts / measured, phases) : 0.0;
    return {load, {watts + loss, 30.0, 0.0, 0.0}, SavingEstimate::CpuPoint{measured, clock, watts, phases}};
}

// After a load step to a load Default never ran at, the CPU's Default draw is carried over from the
// load both ran at by its physics. The mode's lower clock there tells leakage from switching power;
// where the clocks are alike the split does not matter. Exact for a CPU that follows the physics.
TEST(SavingEstimate, ACpuCarriedToAnotherLoadFollowsItsVoltageAndClock) {
    struct Case {
        const char* what;
        ModelCpu cpu;
        double modeVolts;
        double modeClock;
        double steppedVolts;
        double steppedClock;
    };
    const Case cases[] = {
        {"clock follows the load", {20, 95}, 1.10, 0.55, 1.20, 0.90},
        {"little leakage", {5, 60}, 1.10, 0.55, 1.20, 0.90},
        {"much leakage", {40, 40}, 1.05, 0.45, 1.22, 0.95},
        {"clock held down, voltage lower", {20, 95}, 1.10, 0.60, 1.12, 0.60},
        {"full clock at a lower voltage", {20, 95}, 1.20, 1.0, 1.20, 1.0},
    };
    for (const auto& c : cases) {
        SavingEstimate estimate;
        estimate.observeDefault(cpuAt(c.cpu, 0.25, ModelCpu::kDefaultVolts, 1.0, 6));
        estimate.saving(cpuAt(c.cpu, 0.25, c.modeVolts, c.modeClock, 2));
        const double truth = c.cpu.watts(0.70, ModelCpu::kDefaultVolts, 1.0) -
                             c.cpu.watts(0.70, c.steppedVolts, c.steppedClock);
        EXPECT_NEAR(*estimate.saving(cpuAt(c.cpu, 0.70, c.steppedVolts, c.steppedClock, 2)), truth, 1e-9)
            << c.what;
    }
}

// A core voltage one side did not read compares as equal on both: the CPU is carried over by its
// clock alone, and the figure stays finite.
TEST(SavingEstimate, AnUnreadCoreVoltageCarriesTheCpuByItsClockAlone) {
    const ModelCpu cpu{20, 95};
    const auto withVolts = [&](double load, double volts, double clock, double readVolts) {
        auto sample = cpuAt(cpu, load, volts, clock, 2);
        sample.cpu->volts = readVolts;
        return sample;
    };
    // Default at 25 %, the mode at 25 % and then at 70 %, each with the core voltage it read.
    const auto saving = [&](double defaultRead, double pairRead, double steppedRead) {
        SavingEstimate estimate;
        estimate.observeDefault(withVolts(0.25, ModelCpu::kDefaultVolts, 1.0, defaultRead));
        estimate.saving(withVolts(0.25, 1.10, 0.55, pairRead));
        return *estimate.saving(withVolts(0.70, 1.20, 0.90, steppedRead));
    };
    constexpr double kDefault = ModelCpu::kDefaultVolts;
    const double steppedAlike = saving(kDefault, 1.10, kDefault);
    EXPECT_TRUE(std::isfinite(steppedAlike));
    EXPECT_DOUBLE_EQ(saving(kDefault, 1.10, 0.0), steppedAlike)
        << "the mode's voltage not read after the step";
    const double allAlike = saving(kDefault, kDefault, kDefault);
    EXPECT_TRUE(std::isfinite(allAlike));
    EXPECT_DOUBLE_EQ(saving(0.0, 1.10, 1.20), allAlike) << "Default's voltage never read";
}

// The regulator's loss in Default is at Default's current with the phases Default runs, not at the
// mode's current with the mode's phases. The core reads drooped by the regulator's load line, more at
// Default's higher current; the CPU's power follows the setpoint, which the estimate takes back.
TEST(SavingEstimate, DefaultsRegulatorLossIsAtItsCurrentWithItsPhases) {
    const auto* regulator = cpuRegulatorModelFor(2917);
    const ModelCpu cpu{20, 95};
    SavingEstimate estimate(regulator);
    estimate.observeDefault(cpuAt(cpu, 0.25, ModelCpu::kDefaultVolts, 1.0, 6, regulator));
    estimate.saving(cpuAt(cpu, 0.25, 1.10, 0.55, 2, regulator));
    const double inDefault = cpu.watts(0.70, ModelCpu::kDefaultVolts, 1.0);
    const double inMode = cpu.watts(0.70, 1.20, 0.90);
    const auto amps = [&](double setpoint, double watts) {
        return watts / droopedVolts(setpoint, watts, regulator);
    };
    const double truth = inDefault + regulator->lossWatts(amps(ModelCpu::kDefaultVolts, inDefault), 6) -
                         (inMode + regulator->lossWatts(amps(1.20, inMode), 3));
    EXPECT_NEAR(*estimate.saving(cpuAt(cpu, 0.70, 1.20, 0.90, 3, regulator)), truth, 1e-9);
}

// A board that feeds the CPU from a rail measures the rail alone: the share that follows voltage and
// clock is told from the rest by the pair, the rest drawing alike in both modes.
TEST(SavingEstimate, ARailFeedingTheCpuIsSplitIntoTheCpuAndTheRest) {
    const ModelCpu cpu{0, 80};
    constexpr double kRest = 30;
    const auto railAt = [&](double load, double volts, double clock) {
        return SavingEstimate::Sample{load,
                                      {kRest + cpu.watts(load, volts, clock), 0.0, 0.0, 0.0},
                                      SavingEstimate::CpuPoint{volts, clock, std::nullopt, 0}};
    };
    SavingEstimate estimate;
    estimate.observeDefault(railAt(0.25, ModelCpu::kDefaultVolts, 1.0));
    estimate.saving(railAt(0.25, 1.10, 0.55));
    const double truth = cpu.watts(0.70, ModelCpu::kDefaultVolts, 1.0) - cpu.watts(0.70, 1.20, 0.90);
    // A rail is read smoothed: its step is counted in full a minute later.
    EXPECT_LT(*estimate.saving(railAt(0.70, 1.20, 0.90)), truth);
    for (int refresh = 0; refresh < 60; ++refresh)
        estimate.saving(railAt(0.70, 1.20, 0.90));
    EXPECT_NEAR(*estimate.saving(railAt(0.70, 1.20, 0.90)), truth, 1e-6);
}

TEST(SavingEstimate, DefaultsDrawIsKeptAndTakenBackInAnotherRun) {
    SavingEstimate first;
    EXPECT_TRUE(first.defaultEntries().empty());
    first.observeDefault(cpuAt(ModelCpu{20, 95}, 0.25, ModelCpu::kDefaultVolts, 1.0, 6));
    const auto kept = first.defaultEntries();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].bin, 5u);
    SavingEstimate next;
    next.restoreDefault(kept);
    EXPECT_EQ(next.saving(cpuAt(ModelCpu{20, 95}, 0.25, 1.10, 0.55, 2)),
              first.saving(cpuAt(ModelCpu{20, 95}, 0.25, 1.10, 0.55, 2)));
    next.restoreDefault({{SavingEstimate::kLoadBins, {1, 1, 1, 1}, 1, 1, 1, 1}});
    EXPECT_EQ(next.defaultEntries().size(), 1u) << "a load beyond the table is skipped";
}

} // namespace
} // namespace solvane::power
