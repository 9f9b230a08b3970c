// Histories written by other versions: an earlier version's file, whose minutes kept no power
// source, is read as it is and upgraded in place when written, every row kept; a newer version's
// columns are left as they are.
#include "history/HistoryStore.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace solvane::history {
namespace {

using test::TempFolder;

// 2026-12-07T00:00:00Z
constexpr std::int64_t kMonday = 1796601600;

// The first version's tables, as it created them.
constexpr const char* kFirstSchema =
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE IF NOT EXISTS minutes ("
    " time INTEGER PRIMARY KEY, system_w REAL, cpu_w REAL, saving_w REAL,"
    " cpu_c REAL, fan_rpm REAL, core_v REAL, mode INTEGER, refreshes INTEGER);"
    "CREATE TABLE IF NOT EXISTS days ("
    " day INTEGER PRIMARY KEY, consumed_kwh REAL, saved_cws INTEGER);"
    "CREATE TABLE IF NOT EXISTS alerts ("
    " id INTEGER PRIMARY KEY, time INTEGER, name TEXT, value REAL, threshold REAL);"
    "CREATE INDEX IF NOT EXISTS alerts_by_time ON alerts(time);";
// Its rows: three minutes, their day and a limit crossing.
constexpr const char* kFirstRows =
    "INSERT INTO minutes VALUES (1796601660, 101.5, 40.25, 3.5, 51.125, 1500, 1.2, 1, 20);"
    "INSERT INTO minutes VALUES (1796601720, 102.5, 41.25, 4.5, 52.125, 1510, 1.3, 2, 19);"
    "INSERT INTO minutes VALUES (1796601780, 103.5, 42.25, 0, 53.125, 1520, 1.4, 0, 20);"
    "INSERT INTO days VALUES (1796601600, 0.005, 2400);"
    "INSERT INTO alerts (time, name, value, threshold) VALUES (1796601700, 'cpu_temperature', 81, 80);";

class Database {
public:
    explicit Database(const std::filesystem::path& file) { sqlite3_open(file.c_str(), &m_database); }
    ~Database() { sqlite3_close(m_database); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool run(const char* sql) {
        return sqlite3_exec(m_database, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // The first column of the first row, as text ("NULL" for a null).
    std::string first(const char* sql) {
        std::string value = "no row";
        sqlite3_exec(
            m_database, sql,
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0] != nullptr ? values[0] : "NULL";
                return 1;
            },
            &value, nullptr);
        return value;
    }

private:
    sqlite3* m_database = nullptr;
};

void makeFirstVersionFile(const std::filesystem::path& file) {
    Database database(file);
    ASSERT_TRUE(database.run(kFirstSchema));
    ASSERT_TRUE(database.run(kFirstRows));
}

// The first version's rows, as this version reads them: no source, since none was kept.
void expectFirstVersionRows(const HistoryStore& store) {
    const auto minutes = store.minutes(kMonday, kMonday + 180);
    ASSERT_EQ(minutes.size(), 3U);
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& minute = minutes[i];
        const double step = static_cast<double>(i);
        EXPECT_EQ(minute.time, kMonday + 60 * static_cast<std::int64_t>(i + 1));
        EXPECT_DOUBLE_EQ(minute.systemWatts, 101.5 + step);
        EXPECT_DOUBLE_EQ(minute.cpuWatts, 40.25 + step);
        EXPECT_DOUBLE_EQ(minute.cpuCelsius, 51.125 + step);
        EXPECT_DOUBLE_EQ(minute.fanRpm, 1500 + 10 * step);
        EXPECT_DOUBLE_EQ(minute.coreVolts, 1.2 + 0.1 * step);
        EXPECT_EQ(minute.powerSource, "");
    }
    EXPECT_EQ(minutes[0].mode, 1);
    EXPECT_EQ(minutes[1].refreshes, 19);
    EXPECT_DOUBLE_EQ(minutes[1].savingWatts, 4.5);
    const auto days = store.days(kMonday, kMonday);
    ASSERT_EQ(days.size(), 1U);
    EXPECT_EQ(days[0].savedHundredthWattSeconds, 2400);
    EXPECT_DOUBLE_EQ(days[0].consumedKwh, 0.005);
    const auto alerts = store.alerts(kMonday, kMonday + 86399);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0].limit, "cpu_temperature");
}

TEST(HistoryUpgrade, AnEarlierVersionsFileIsReadAsItIsAndUpgradedWhenWrittenWithEveryRowKept) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    makeFirstVersionFile(file);
    ASSERT_FALSE(std::filesystem::exists(folder / "history.sqlite-wal"))
        << "closed as the first version left it";
    const auto before = test::readTextFile(file);

    {
        const auto reader = HistoryStore::openForReading(file);
        ASSERT_TRUE(reader.store) << reader.notice;
        expectFirstVersionRows(*reader.store);
    }
    EXPECT_EQ(test::readTextFile(file), before) << "a reader changes nothing";

    {
        auto writer = HistoryStore::openForWriting(file);
        ASSERT_TRUE(writer.store) << writer.notice;
        EXPECT_TRUE(writer.notice.empty()) << writer.notice;
        expectFirstVersionRows(*writer.store);
        EXPECT_EQ(writer.store->integrityCheck(), "ok");
        // A new minute, and a second run within an old one: the minute takes the new run's source.
        MinuteRow added{kMonday + 240, 90, 30, 5, 50, 1400, 1.1, 2, 20, "battery draw (power_supply BAT0)"};
        ASSERT_TRUE(writer.store->recordMinute(added, 0.001, 100)) << writer.store->lastError();
        MinuteRow again{kMonday + 180, 83.5, 22.25, 10, 43.125, 1320, 1.0, 2, 20, "board sensors"};
        ASSERT_TRUE(writer.store->recordMinute(again, 0.001, 100)) << writer.store->lastError();
        const auto minutes = writer.store->minutes(kMonday + 180, kMonday + 240);
        ASSERT_EQ(minutes.size(), 2U);
        EXPECT_DOUBLE_EQ(minutes[0].systemWatts, 93.5) << "averaged by refreshes";
        EXPECT_EQ(minutes[0].powerSource, "board sensors");
        EXPECT_EQ(minutes[1].powerSource, "battery draw (power_supply BAT0)");
    }

    Database database(file);
    EXPECT_EQ(database.first("SELECT count(*) FROM minutes WHERE source IS NULL"), "2")
        << "the first version's minutes keep an unknown source, not a made-up one";
    // The first version still reads and writes the upgraded file: its statements name their columns.
    EXPECT_EQ(database.first("SELECT time, system_w, cpu_w, saving_w, cpu_c, fan_rpm, core_v, mode, refreshes"
                             " FROM minutes ORDER BY time LIMIT 1"),
              std::to_string(kMonday + 60));
    EXPECT_TRUE(database.run("INSERT INTO minutes (time, system_w, cpu_w, saving_w, cpu_c, fan_rpm, core_v,"
                             " mode, refreshes) VALUES (1796601900, 1, 1, 1, 1, 1, 1, 0, 1)"));

    const auto reader = HistoryStore::openForReading(file);
    ASSERT_TRUE(reader.store) << reader.notice;
    const auto minutes = reader.store->minutes(0, INT64_MAX);
    ASSERT_EQ(minutes.size(), 5U);
    EXPECT_EQ(minutes[0].powerSource, "");
    EXPECT_EQ(minutes[3].powerSource, "battery draw (power_supply BAT0)");
    EXPECT_EQ(minutes[4].powerSource, "") << "the first version's row";
}

// A newer version's file keeps what this version does not know: its extra column's values stay
// through this version's writes of the same minute, and the file is not upgraded a second time.
TEST(HistoryUpgrade, ANewerVersionsColumnsKeepTheirValues) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    {
        Database database(file);
        ASSERT_TRUE(database.run(kFirstSchema));
        ASSERT_TRUE(database.run("ALTER TABLE minutes ADD COLUMN source TEXT;"
                                 "ALTER TABLE minutes ADD COLUMN gpu_w REAL;"
                                 "CREATE TABLE notes (text TEXT);"
                                 "INSERT INTO minutes VALUES (1796601660, 100, 40, 3, 50, 1500, 1.2, 1, 20,"
                                 " 'board sensors', 75.5);"));
    }
    {
        auto writer = HistoryStore::openForWriting(file);
        ASSERT_TRUE(writer.store) << writer.notice;
        EXPECT_TRUE(writer.notice.empty()) << writer.notice;
        MinuteRow again{kMonday + 60, 100, 40, 3, 50, 1500, 1.2, 1, 20, "board sensors"};
        ASSERT_TRUE(writer.store->recordMinute(again, 0.001, 100)) << writer.store->lastError();
        const auto minutes = writer.store->minutes(0, INT64_MAX);
        ASSERT_EQ(minutes.size(), 1U);
        EXPECT_EQ(minutes[0].refreshes, 40);
        EXPECT_EQ(minutes[0].powerSource, "board sensors");
    }
    Database database(file);
    EXPECT_EQ(database.first("SELECT gpu_w FROM minutes"), "75.5");
    EXPECT_EQ(database.first("SELECT count(*) FROM pragma_table_info('minutes')"), "11");
    EXPECT_EQ(database.first("PRAGMA integrity_check"), "ok");
}

} // namespace
} // namespace solvane::history
