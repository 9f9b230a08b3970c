// The power history of a running monitor on the virtual clock: a simulated day of minute rows and
// its day row against the registry totals, the CSV and the report read back, and the alerts of a
// load step.
#include "history/PowerHistory.h"

#include "MonitoredBoard.h"
#include "app/Report.h"
#include "history/HistoryCsv.h"
#include "history/IsoTime.h"
#include "sim/physics/ScriptedCpuLoad.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace solvane::app {
namespace {

using power::PowerMode;

using test::kMonday;
using test::kRefreshesPerDay;
using test::MonitoredBoard;
using test::savedEnergy;

// The most a figure written with `decimals` places can differ from the figure itself.
double halfUnit(int decimals) {
    return 0.5000001 * std::pow(10.0, -decimals);
}

std::vector<std::string> splitCsvLine(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    return fields;
}

class PowerHistoryDay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new test::TempFolder;
        MonitoredBoard board(*s_folder / "history.sqlite", {0.05, 0.9, 0.4, 1.0, 0.2, 0.7},
                             std::chrono::milliseconds(41'000), kMonday);
        const auto before = savedEnergy(board.registry());
        board.refresh(kRefreshesPerDay);
        s_growth = savedEnergy(board.registry()) - before;
        board.history().flush();
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }
    static history::HistoryStore::Opened open() {
        return history::HistoryStore::openForReading(*s_folder / "history.sqlite");
    }

    static inline test::TempFolder* s_folder = nullptr;
    static inline std::int64_t s_growth = 0;
};

TEST_F(PowerHistoryDay, FillsEveryMinuteAndOneDayThatSavedWhatTheRegistryGained) {
    const auto opened = open();
    ASSERT_TRUE(opened.store) << opened.notice;
    const auto minutes = opened.store->minutes(0, INT64_MAX);
    ASSERT_EQ(minutes.size(), 1440U);
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        ASSERT_EQ(minutes[i].time, kMonday + 60 * static_cast<std::int64_t>(i));
        ASSERT_EQ(minutes[i].refreshes, 20) << history::isoDateTime(minutes[i].time);
        ASSERT_EQ(minutes[i].mode, static_cast<int>(PowerMode::Optimize));
        ASSERT_GT(minutes[i].systemWatts, 20);
        ASSERT_GT(minutes[i].coreVolts, 0.7);
    }
    const auto days = opened.store->days(0, INT64_MAX);
    ASSERT_EQ(days.size(), 1U);
    EXPECT_EQ(days[0].day, kMonday);
    EXPECT_GT(s_growth, 0);
    EXPECT_EQ(days[0].savedHundredthWattSeconds, s_growth);
    // The day's energy is the minutes' average power over their minutes.
    double wattMinutes = 0;
    for (const auto& minute : minutes)
        wattMinutes += minute.systemWatts;
    EXPECT_NEAR(days[0].consumedKwh, wattMinutes / 60 / 1000, 1e-9);
    EXPECT_EQ(opened.store->integrityCheck(), "ok");
}

TEST_F(PowerHistoryDay, ReadsBackTheSameFiguresFromTheCsv) {
    const auto opened = open();
    ASSERT_TRUE(opened.store);
    std::ostringstream out;
    history::writeHistoryCsv(*opened.store, history::CsvRows::Minutes, kMonday, kMonday + 86399, out);
    std::istringstream in(out.str());
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, history::kMinuteCsvHeader);
    const auto minutes = opened.store->minutes(0, INT64_MAX);
    std::size_t row = 0;
    for (; std::getline(in, line); ++row) {
        const auto fields = splitCsvLine(line);
        ASSERT_EQ(fields.size(), 9U) << line;
        ASSERT_LT(row, minutes.size());
        const auto& minute = minutes[row];
        EXPECT_EQ(history::parseIsoTime(fields[0], history::Bound::Start), minute.time);
        EXPECT_NEAR(std::stod(fields[1]), minute.systemWatts, halfUnit(3));
        EXPECT_NEAR(std::stod(fields[2]), minute.cpuWatts, halfUnit(3));
        EXPECT_NEAR(std::stod(fields[3]), minute.savingWatts, halfUnit(3));
        EXPECT_NEAR(std::stod(fields[4]), minute.cpuCelsius, halfUnit(2));
        EXPECT_NEAR(std::stod(fields[5]), minute.fanRpm, halfUnit(1));
        EXPECT_NEAR(std::stod(fields[6]), minute.coreVolts, halfUnit(4));
        EXPECT_EQ(fields[7], "Optimize");
        EXPECT_EQ(fields[8], history::kBoardPowerSource);
    }
    EXPECT_EQ(row, 1440U);
}

// The real program exports the day rows and reports the days, reading the same file.
TEST_F(PowerHistoryDay, TheProgramExportsAndReportsTheDay) {
    const auto program = test::programFolder() / "solvane";
    const auto csv = *s_folder / "days.csv";
    std::string errors;
    ASSERT_EQ(test::runProgram(program,
                               {"--state-dir", s_folder->path().string(), "--export-history", csv.string(),
                                "--rows", "days", "--from", "2026-12-07", "--to", "2026-12-07"},
                               {}, &errors),
              0)
        << errors;
    const auto opened = open();
    ASSERT_TRUE(opened.store);
    const auto day = opened.store->days(0, INT64_MAX).at(0);
    EXPECT_EQ(test::readTextFile(csv), std::string(history::kDayCsvHeader) + "\n2026-12-07," +
                                           history::decimal(day.consumedKwh, 6) + "," +
                                           history::decimal(day.savedKwh(), 6) + "\n");

    std::string output;
    ASSERT_EQ(test::runProgram(program, {"--state-dir", s_folder->path().string(), "--report", "--json"},
                               {{"QT_QPA_PLATFORM", "offscreen"}}, &errors, &output),
              0)
        << errors;
    const auto days = QJsonDocument::fromJson(QByteArray::fromStdString(output))
                          .object()[QStringLiteral("history")]
                          .toObject()[QStringLiteral("days")]
                          .toArray();
    ASSERT_EQ(days.size(), 1);
    EXPECT_EQ(days[0].toObject()[QStringLiteral("day")].toString(), QStringLiteral("2026-12-07"));
    EXPECT_DOUBLE_EQ(days[0].toObject()[QStringLiteral("energySavedKwh")].toDouble(), day.savedKwh());
    EXPECT_DOUBLE_EQ(days[0].toObject()[QStringLiteral("energyConsumedKwh")].toDouble(), day.consumedKwh);
}

TEST(PowerHistoryExport, RefusesBadDatesAndAnUnwritableFile) {
    test::TempFolder folder;
    const auto program = test::programFolder() / "solvane";
    std::string errors;
    EXPECT_EQ(test::runProgram(program,
                               {"--state-dir", folder.path().string(), "--export-history",
                                (folder / "a.csv").string(), "--from", "2026-02-30"},
                               {}, &errors),
              2);
    EXPECT_NE(errors.find("--from takes a date"), std::string::npos) << errors;
    EXPECT_EQ(test::runProgram(program, {"--state-dir", folder.path().string(), "--from", "2026-12-01"}, {},
                               &errors),
              2);
    EXPECT_EQ(test::runProgram(program,
                               {"--state-dir", folder.path().string(), "--export-history",
                                (folder / "missing" / "a.csv").string()},
                               {}, &errors),
              1);
    EXPECT_NE(errors.find("cannot write"), std::string::npos) << errors;
    // No history yet: a header and no rows, and no history file created.
    ASSERT_EQ(test::runProgram(
                  program,
                  {"--state-dir", folder.path().string(), "--export-history", (folder / "a.csv").string()},
                  {}, &errors),
              0)
        << errors;
    EXPECT_EQ(test::readTextFile(folder / "a.csv"), std::string(history::kMinuteCsvHeader) + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "history.sqlite"));
}

// The export never replaces the program's own files and reports the refusal; "-" writes to
// standard output; a span that ends before it begins is a usage error.
TEST(PowerHistoryExport, KeepsTheStateFilesAndWritesToStandardOutput) {
    test::TempFolder folder;
    const auto program = test::programFolder() / "solvane";
    const auto state = folder.path().string();
    {
        auto store = history::HistoryStore::openForWriting(folder / "history.sqlite").store;
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->recordMinute(
            {kMonday, 100, 50, 5, 50, 1500, 1.2, 1, 20, "battery draw (power_supply BAT0 power_now)"}, 0.001,
            1));
    }
    const auto history = test::readTextFile(folder / "history.sqlite");
    std::string errors;
    std::string output;
    EXPECT_EQ(test::runProgram(
                  program, {"--state-dir", state, "--export-history", (folder / "history.sqlite").string()},
                  {}, &errors),
              1);
    EXPECT_NE(
        errors.find("--export-history: " + (folder / "history.sqlite").string() + " is one of the files"),
        std::string::npos)
        << errors;
    EXPECT_EQ(test::readTextFile(folder / "history.sqlite"), history);

    ASSERT_EQ(
        test::runProgram(program, {"--state-dir", state, "--export-history", "-"}, {}, &errors, &output), 0)
        << errors;
    EXPECT_EQ(output, std::string(history::kMinuteCsvHeader) +
                          "\n2026-12-07T00:00:00Z,100.000,50.000,5.000,50.00,"
                          "1500.0,1.2000,Optimize,battery draw (power_supply BAT0 power_now)\n");
    EXPECT_NE(errors.find("1 minute row written to standard output"), std::string::npos) << errors;

    EXPECT_EQ(test::runProgram(program,
                               {"--state-dir", state, "--export-history", "-", "--from", "2026-12-08", "--to",
                                "2026-12-07"},
                               {}, &errors),
              2);
    EXPECT_NE(errors.find("is later than --to"), std::string::npos) << errors;
}

// A load step takes the CPU temperature over its limit: one alert, kept in the history; another
// only after the temperature fell below the limit by the hysteresis and rose again.
TEST(PowerHistoryAlerts, OneNotificationPerCrossingOfALoadStep) {
    test::TempFolder folder;
    // Twenty minutes idle, twenty busy, in turn.
    const std::vector<double> loads{0.02, 1.0};
    const auto step = std::chrono::minutes(20);
    constexpr int kRefreshesPerStep = 20 * 20;

    // Where the temperature settles when idle and when busy.
    double idle = 0;
    double busy = 0;
    {
        MonitoredBoard probe(folder / "probe.sqlite", loads, step, kMonday);
        probe.refresh(kRefreshesPerStep - 10);
        idle = probe.history().latest()->cpuCelsius;
        probe.refresh(kRefreshesPerStep);
        busy = probe.history().latest()->cpuCelsius;
    }
    ASSERT_GT(busy - idle, 2 * history::kLimits[0].hysteresis + 4) << "idle " << idle << ", busy " << busy;
    const int limit = static_cast<int>((idle + busy) / 2);

    MonitoredBoard board(folder / "history.sqlite", loads, step, kMonday);
    ASSERT_TRUE(history::writeAlertLimits(board.registry(), {limit, std::nullopt, std::nullopt}));
    board.history().reloadLimits();
    std::vector<history::AlertRow> notified;
    board.history().setAlertNotifier([&](const history::AlertRow& alert) { notified.push_back(alert); });
    double lowest = 1000;
    double highest = -1000;
    auto follow = [&](int refreshes) {
        for (int i = 0; i < refreshes; ++i) {
            board.refresh(1);
            lowest = std::min(lowest, board.history().latest()->cpuCelsius);
            highest = std::max(highest, board.history().latest()->cpuCelsius);
        }
    };
    follow(kRefreshesPerStep); // idle
    EXPECT_TRUE(notified.empty());
    follow(kRefreshesPerStep); // busy: over the limit
    ASSERT_EQ(notified.size(), 1U);
    EXPECT_EQ(notified[0].limit, "cpu_temperature");
    EXPECT_GT(notified[0].value, limit);
    EXPECT_GT(highest, limit);
    lowest = 1000;
    follow(kRefreshesPerStep); // idle: back below limit - hysteresis
    EXPECT_LT(lowest, limit - history::kLimits[0].hysteresis);
    EXPECT_EQ(notified.size(), 1U);
    follow(kRefreshesPerStep); // busy again
    ASSERT_EQ(notified.size(), 2U);
    board.history().flush();
    const auto kept = board.history().store()->alerts(0, INT64_MAX);
    ASSERT_EQ(kept.size(), 2U);
    EXPECT_EQ(kept[0].time, notified[0].time);
    EXPECT_EQ(kept[1].time, notified[1].time);
}

} // namespace
} // namespace solvane::app
