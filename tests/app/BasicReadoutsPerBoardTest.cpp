// Which read-outs of the basic page each board shows as "N/A." (what it does not have, cannot
// measure or hides), held for every board in the records against a table written board by board.
#include "SimulatedCore.h"
#include "app/Report.h"
#include "board/BoardTraits.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace solvane::app {
namespace {

using power::PowerMode;

// The read-outs whose presence depends on the board alone (the voltage rows also depend on the
// settings the board has, and are held below only where a board has none of them).
const std::vector<std::string> kChecked{"Total Power Saving",
                                        "Current Power Saving",
                                        "Power Saving Percentage",
                                        "Total Power Consumption",
                                        "Power Consumption",
                                        "Power Saving",
                                        "Efficiency",
                                        "Core Voltage",
                                        "Temperature",
                                        "Fan Speed",
                                        "PWM TRYPH",
                                        "Memory TRYPH",
                                        "IOH Temp.",
                                        "IOH TRYPH",
                                        "3.3V Power Consumption",
                                        "5V Power Consumption",
                                        "12V Power Consumption"};

using Captions = std::set<std::string>;
const Captions kSavingTotals{"Total Power Saving", "Current Power Saving", "Power Saving Percentage"};
const Captions kRails{"3.3V Power Consumption", "5V Power Consumption", "12V Power Consumption"};
const Captions kCpuPower{"Power Consumption", "Power Saving", "Efficiency"};
const Captions kBridgePhases{"Memory TRYPH", "IOH TRYPH"};
const Captions kCpuRows{"Core Voltage", "Temperature", "Fan Speed", "PWM TRYPH"};

Captions joined(std::initializer_list<Captions> sets, std::initializer_list<std::string> more = {}) {
    Captions all(more);
    for (const auto& set : sets)
        all.insert(set.begin(), set.end());
    return all;
}

struct BoardReadouts {
    int board;
    Captions notAvailable;
    bool bridgeVoltagesMissing = false; // memory, IOH and ICH voltage all "N/A."
};

std::vector<BoardReadouts> boardTable() {
    // Only the CPU rows stay on 2912 and 2907; 2909 and 2908 hide every panel; the memory and
    // chipset phase rows are hidden on 2910, 2904, 2902, 2905 and 2901. The boards without a CPU
    // power measurement (2909 to 2901) show no CPU consumption, saving or efficiency.
    const auto cpuRowsOnly = joined({kCpuPower, kRails, kBridgePhases}, {"IOH Temp."});
    const auto noPanels = joined({kCpuPower, kRails, kBridgePhases, kCpuRows}, {"IOH Temp."});
    const auto noBridgeMeasurement = joined({kSavingTotals, kRails, kBridgePhases, kCpuPower});
    return {
        {2918, {}},
        {2917, {}},
        {2916, {}},
        {2915, {}},
        {2912, cpuRowsOnly},
        {2911, {}},
        {2910, kBridgePhases},
        {2909, noPanels},
        {2908, noPanels},
        {2907, cpuRowsOnly},
        {2906, noBridgeMeasurement, true},
        {2905, noBridgeMeasurement},
        {2904, joined({noBridgeMeasurement}, {"Core Voltage"}), true},
        {2903, joined({noBridgeMeasurement}, {"Core Voltage"}), true},
        {2902, noBridgeMeasurement},
        {2901, joined({kBridgePhases, kCpuPower})},
    };
}

QJsonObject readoutsOf(int board) {
    test::CoreServices services;
    auto hardware = test::simulatedBoard({.board = board, .load = 0.5, .seed = 3, .clock = [&services] {
                                              return std::chrono::milliseconds(services.clock.now());
                                          }});
    SolvaneCore core(services.on(*hardware, 7));
    core.initialise();
    core.enableSettingCommands();
    runBeforeReport(core, services.clock, PowerMode::Default, 3);
    return QJsonDocument::fromJson(QByteArray::fromStdString(buildReport(core, ReportFormat::Json)))
        .object()
        .value(QStringLiteral("readouts"))
        .toObject();
}

TEST(BasicReadoutsPerBoard, EachBoardShowsNotAvailableExactlyWhereItHasNoFigure) {
    const auto table = boardTable();
    for (const auto& board : board::kBoardTraits)
        EXPECT_TRUE(
            std::any_of(table.begin(), table.end(), [&](const auto& row) { return row.board == board.code; }))
            << board.code << " has no row";
    for (const auto& [board, notAvailable, bridgeVoltagesMissing] : table) {
        SCOPED_TRACE(board);
        const auto readouts = readoutsOf(board);
        ASSERT_FALSE(readouts.isEmpty());
        for (const auto& caption : kChecked) {
            const auto text = readouts.value(QString::fromStdString(caption)).toString().toStdString();
            EXPECT_FALSE(text.empty()) << caption << " is missing";
            EXPECT_EQ(text == "N/A.", notAvailable.contains(caption)) << caption << " reads " << text;
        }
        if (bridgeVoltagesMissing) {
            for (const char* caption : {"Memory Voltage", "IOH Voltage", "ICH Voltage"})
                EXPECT_EQ(readouts.value(QLatin1String(caption)).toString(), "N/A.") << caption;
        }
    }
}

} // namespace
} // namespace solvane::app
