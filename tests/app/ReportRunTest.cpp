// The report of the real program after a mode and some refreshes: the simulation block scripts read,
// the read-outs of that mode, and nothing on disk changed.
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

// Every file of a folder with its contents.
std::map<std::string, std::string> folderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string()] = test::readTextFile(entry.path());
    return files;
}

TEST(ReportRun, MaxModeAfterRefreshesReportsTheModelAndChangesNothingOnDisk) {
    const auto program = test::programFolder() / "solvane";
    if (!std::filesystem::exists(program))
        GTEST_SKIP() << "the program is not built at " << program;
    test::TempFolder state;
    test::TempFolder runtime;
    const std::map<std::string, std::string> environment{{"QT_QPA_PLATFORM", "offscreen"},
                                                         {"XDG_RUNTIME_DIR", runtime.path().string()}};
    const std::vector<std::string> common{"--state-dir", state.path().string(), "--board", "2917", "--seed",
                                          "5",           "--cpu-load",          "50"};
    // A first report leaves the files a report finds; the second must leave them as they are.
    auto arguments = common;
    arguments.push_back("--report");
    std::string errors;
    ASSERT_EQ(test::runProgram(program, arguments, environment, &errors), 0) << errors;
    const auto before = folderContents(state.path());

    for (const auto* extra : {"--json", "--mode", "max", "--refreshes", "20"})
        arguments.emplace_back(extra);
    std::string output;
    ASSERT_EQ(test::runProgram(program, arguments, environment, &errors, &output), 0) << errors;
    EXPECT_EQ(folderContents(state.path()), before) << "the report changed a file";

    const auto root = QJsonDocument::fromJson(QByteArray::fromStdString(output)).object();
    EXPECT_EQ(root.value(QStringLiteral("activeMode")).toString(), QStringLiteral("Max Power Saving Mode"));
    const auto simulation = root.value(QStringLiteral("simulation")).toObject();
    // The board's own figures and, from its Default-mode twin, the truth of the saving.
    EXPECT_EQ(simulation.keys(),
              (QStringList{QStringLiteral("activeCpuPhases"), QStringLiteral("coreVolts"),
                           QStringLiteral("cpuInputWatts"), QStringLiteral("cpuRegulatorEfficiency"),
                           QStringLiteral("defaultModeSystemWatts"), QStringLiteral("railWatts"),
                           QStringLiteral("savedWattHours"), QStringLiteral("savingWatts"),
                           QStringLiteral("systemWatts")}));
    EXPECT_GT(simulation.value(QStringLiteral("savingWatts")).toDouble(), 0) << "Max saves against Default";
    EXPECT_GT(simulation.value(QStringLiteral("savedWattHours")).toDouble(), 0);
    EXPECT_EQ(simulation.value(QStringLiteral("railWatts")).toObject().keys(),
              (QStringList{QStringLiteral("12V"), QStringLiteral("3.3V"), QStringLiteral("5V")}));
    const auto readouts = root.value(QStringLiteral("readouts")).toObject();
    // Max runs the regulator's automatic phases, with the count it reports, and it saves.
    const int phases = simulation.value(QStringLiteral("activeCpuPhases")).toInt();
    EXPECT_EQ(readouts.value(QStringLiteral("PWM TRYPH")).toString(),
              QStringLiteral("Auto (%1)").arg(phases));
    EXPECT_NE(readouts.value(QStringLiteral("Current Power Saving")).toString(), QStringLiteral("0 W"));
    EXPECT_NEAR(
        simulation.value(QStringLiteral("coreVolts")).toDouble(),
        readouts.value(QStringLiteral("Core Voltage")).toString().split(QLatin1Char(' ')).value(0).toDouble(),
        0.01);
}

} // namespace
} // namespace solvane::app
