// Which read-outs of the basic page each board shows as "N/A." (what it does not have, cannot
// measure or hides), held for every board in the records against a table written board by board.
// A voltage row shows its option text only where the board writes or reads that voltage's
// register: the rows of the board setting write table.
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

const std::vector<std::string> kChecked{"Memory Voltage",
                                        "IOH Voltage",
                                        "ICH Voltage",
                                        "Total Power Saving",
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
const Captions kBridgeVoltages{"Memory Voltage", "IOH Voltage", "ICH Voltage"};

Captions joined(std::initializer_list<Captions> sets, std::initializer_list<std::string> more = {}) {
    Captions all(more);
    for (const auto& set : sets)
        all.insert(set.begin(), set.end());
    return all;
}

struct BoardReadouts {
    int board;
    Captions notAvailable;
};

// These boards name the bridges' voltages after their north and south bridge.
QString captionOn(int board, const std::string& caption) {
    const bool bridgesRenamed = board == 2902 || board == 2905 || board == 2901;
    if (bridgesRenamed && caption == "IOH Voltage")
        return QStringLiteral("NB Voltage");
    if (bridgesRenamed && caption == "ICH Voltage")
        return QStringLiteral("SB Voltage");
    return QString::fromStdString(caption);
}

std::vector<BoardReadouts> boardTable() {
    // Only the CPU rows stay on 2912 and 2907; 2909 and 2908 hide every panel; the memory and
    // chipset phase rows are hidden on 2910, 2904, 2902, 2905 and 2901. The boards without a CPU
    // power measurement (2909 to 2901) show no CPU consumption, saving or efficiency. 2918 writes
    // the memory voltage but neither bridge voltage; 2915 writes its memory voltage without reading
    // it back, which still shows what was set.
    const auto cpuRowsOnly = joined({kCpuPower, kRails, kBridgePhases, kBridgeVoltages}, {"IOH Temp."});
    const auto noPanels =
        joined({kCpuPower, kRails, kBridgePhases, kCpuRows, kBridgeVoltages}, {"IOH Temp."});
    const auto noBridgeMeasurement = joined({kSavingTotals, kRails, kBridgePhases, kCpuPower});
    return {
        {2918, {"IOH Voltage", "ICH Voltage"}},
        {2917, {}},
        {2916, {}},
        {2915, {}},
        {2912, cpuRowsOnly},
        {2911, {}},
        {2910, kBridgePhases},
        {2909, noPanels},
        {2908, noPanels},
        {2907, cpuRowsOnly},
        {2906, joined({noBridgeMeasurement, kBridgeVoltages})},
        {2905, noBridgeMeasurement},
        {2904, joined({noBridgeMeasurement, kBridgeVoltages}, {"Core Voltage"})},
        {2903, joined({noBridgeMeasurement, kBridgeVoltages}, {"Core Voltage"})},
        {2902, noBridgeMeasurement},
        {2901, joined({kBridgePhases, kCpuPower, kBridgeVoltages})},
    };
}

QJsonObject readoutsOf(int board) {
    test::CoreOnBoard run(board, 0.5, 3, 7);
    runBeforeReport(*run.core, run.services.clock, PowerMode::Default, 3);
    return QJsonDocument::fromJson(QByteArray::fromStdString(buildReport(*run.core, ReportFormat::Json)))
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
    for (const auto& [board, notAvailable] : table) {
        SCOPED_TRACE(board);
        const auto readouts = readoutsOf(board);
        ASSERT_FALSE(readouts.isEmpty());
        for (const auto& caption : kChecked) {
            const auto text = readouts.value(captionOn(board, caption)).toString().toStdString();
            EXPECT_FALSE(text.empty()) << caption << " is missing";
            EXPECT_EQ(text == "N/A.", notAvailable.contains(caption)) << caption << " reads " << text;
        }
    }
}

} // namespace
} // namespace solvane::app
