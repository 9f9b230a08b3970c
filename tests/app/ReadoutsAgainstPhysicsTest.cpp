// The power read-outs of the basic page, as the JSON report gives them, held against the simulated
// board's own physics on every board that shows them, at low, middle and high CPU load.
#include "SimulatedCore.h"
#include "app/Report.h"
#include "power/BasicPageIds.h"
#include "power/BasicPagePlan.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using power::PowerMode;

// A read-out text such as "82.40 W" or "0 W" in watts; a percentage the same way.
double number(const QJsonObject& readouts, const char* caption) {
    return readouts.value(QLatin1String(caption)).toString().split(QLatin1Char(' ')).value(0).toDouble();
}

struct Figures {
    QJsonObject readouts;
    QJsonObject simulation;
    double sim(const char* name) const { return simulation.value(QLatin1String(name)).toDouble(); }
    double rail(const char* name) const {
        return simulation.value(QStringLiteral("railWatts")).toObject().value(QLatin1String(name)).toDouble();
    }
};

class BoardRun {
public:
    BoardRun(int board, double load)
        : m_hardware(test::simulatedBoard(
              {.board = board,
               .load = load,
               .seed = 5,
               .clock = [this] { return std::chrono::milliseconds(m_services.clock.now()); }})),
          m_core(m_services.on(*m_hardware, 9)) {
        m_core.initialise();
        m_core.enableSettingCommands();
    }

    // A user runs Default a minute before choosing a mode; the figures are taken after 20 refreshes.
    Figures after(PowerMode mode) {
        runBeforeReport(m_core, m_services.clock, PowerMode::Default, 20);
        if (mode != PowerMode::Default)
            runBeforeReport(m_core, m_services.clock, mode, 20);
        const auto root =
            QJsonDocument::fromJson(QByteArray::fromStdString(buildReport(m_core, ReportFormat::Json)))
                .object();
        return {root.value(QStringLiteral("readouts")).toObject(),
                root.value(QStringLiteral("simulation")).toObject()};
    }

private:
    test::CoreServices m_services;
    std::unique_ptr<sim::SimulatedHardware> m_hardware;
    SolvaneCore m_core;
};

// Boards whose page shows the total and the rails: the first seven measure the CPU's power and
// show its consumption; the others have no CPU figure, their CPU hanging on the measured 12 V rail.
constexpr int kBoards[] = {2918, 2917, 2916, 2915, 2910, 2911, 2912, 2907, 2908, 2909, 2901};
bool measuresCpu(int board) {
    return board >= 2910 && board != 2913 && board != 2914;
}
constexpr double kLoads[] = {0.1, 0.5, 0.9};

void expectWithin(double shown, double actual, double share, const std::string& what) {
    EXPECT_NEAR(shown, actual, share * actual) << what;
}

// A rail's monitor reads its current in counts of about 0.9 W (the 8 mV step over the sense gain),
// rounded and with a count of noise: a small rail is held to 10 % or that spread, whichever is more.
constexpr double kRailSpreadWatts = 1.5 * 0.95;
void expectRail(double shown, double actual, const std::string& what) {
    EXPECT_NEAR(shown, actual, std::max(0.1 * actual, kRailSpreadWatts)) << what;
}

TEST(ReadoutsAgainstPhysics, ConsumptionTotalAndRailsFollowTheBoardInEveryMode) {
    for (const int board : kBoards)
        for (const double load : kLoads)
            for (const auto mode : {PowerMode::Default, PowerMode::Optimize, PowerMode::Max}) {
                const auto where = "board " + std::to_string(board) + " at load " + std::to_string(load) +
                                   " in mode " + std::to_string(static_cast<int>(mode));
                BoardRun run(board, load);
                const auto f = run.after(mode);
                // A row the page hides says so in the report too; the others hold to the physics.
                const auto hidden = power::basicPagePlan(board);
                const auto shown = [&](const char* caption, int valueId) {
                    const bool isShown =
                        hidden.panels && !hidden.hiddenRows.contains(valueId) &&
                        (measuresCpu(board) || (valueId != power::basic_ids::kCpuConsumption &&
                                                valueId != power::basic_ids::kCpuSaving &&
                                                valueId != power::basic_ids::kCpuEfficiency));
                    if (!isShown) {
                        EXPECT_EQ(f.readouts.value(QLatin1String(caption)).toString(), "N/A.")
                            << where << caption;
                    }
                    return isShown;
                };
                expectWithin(number(f.readouts, "Total Power Consumption"), f.sim("systemWatts"), 0.1,
                             where + ": total");
                if (shown("3.3V Power Consumption", power::basic_ids::kRail33))
                    expectRail(number(f.readouts, "3.3V Power Consumption"), f.rail("3.3V"),
                               where + ": 3.3 V");
                if (shown("5V Power Consumption", power::basic_ids::kRail5))
                    expectRail(number(f.readouts, "5V Power Consumption"), f.rail("5V"), where + ": 5 V");
                if (shown("12V Power Consumption", power::basic_ids::kRail12))
                    expectRail(number(f.readouts, "12V Power Consumption"), f.rail("12V"), where + ": 12 V");
                if (shown("Power Consumption", power::basic_ids::kCpuConsumption)) {
                    const double consumption = number(f.readouts, "Power Consumption");
                    expectWithin(consumption, f.sim("cpuInputWatts"), 0.1, where + ": CPU consumption");
                    const double cpuSaving = number(f.readouts, "Power Saving");
                    EXPECT_GE(cpuSaving, 0) << where;
                    EXPECT_LE(cpuSaving, consumption) << where;
                }
                // The regulator's efficiency as shown, against the simulated regulator's.
                if (shown("Efficiency", power::basic_ids::kCpuEfficiency)) {
                    EXPECT_NEAR(number(f.readouts, "Efficiency"), 100 * f.sim("cpuRegulatorEfficiency"), 3.0)
                        << where << ": efficiency";
                }
            }
}

// These boards show only the total of the power read-outs.
TEST(ReadoutsAgainstPhysics, TheTotalAloneFollowsTheBoardWhereNothingElseIsShown) {
    for (const int board : {2902, 2903, 2904, 2905, 2906})
        for (const double load : kLoads) {
            const auto where = "board " + std::to_string(board) + " at load " + std::to_string(load);
            BoardRun run(board, load);
            const auto f = run.after(PowerMode::Max);
            expectWithin(number(f.readouts, "Total Power Consumption"), f.sim("systemWatts"), 0.1, where);
            EXPECT_EQ(f.readouts.value(QStringLiteral("Power Consumption")).toString(), "N/A.") << where;
        }
}

} // namespace
} // namespace solvane::app
