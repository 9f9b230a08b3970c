// The power history on disk: minute and day rows, retention, what happens to a damaged or locked
// file, and a writer killed at random moments.
#include "history/HistoryStore.h"

#include "history/IsoTime.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>

namespace solvane::history {
namespace {

using test::TempFolder;

constexpr std::int64_t kDay = 86400;
// 2026-12-07T00:00:00Z
constexpr std::int64_t kMonday = 1796601600;

MinuteRow minuteAt(std::int64_t time, double watts = 100, int refreshes = 20) {
    return MinuteRow{time, watts, watts / 2, 10, 50, 1500, 1.2, 1, refreshes};
}

TEST(HistoryStore, KeepsMinutesAndAddsTheirEnergyToTheirUtcDay) {
    TempFolder folder;
    auto opened = HistoryStore::openForWriting(folder / "history.sqlite");
    ASSERT_TRUE(opened.store) << opened.notice;
    EXPECT_TRUE(opened.notice.empty());
    auto& store = *opened.store;
    ASSERT_TRUE(store.recordMinute(minuteAt(kMonday + kDay - 60), 0.5, 700));
    ASSERT_TRUE(store.recordMinute(minuteAt(kMonday + kDay), 0.25, 300)); // the next day's first minute
    ASSERT_TRUE(store.recordMinute(minuteAt(kMonday + 60), 1.0, 1000));

    const auto days = store.days(0, INT64_MAX);
    ASSERT_EQ(days.size(), 2U);
    EXPECT_EQ(isoDate(days[0].day), "2026-12-07");
    EXPECT_DOUBLE_EQ(days[0].consumedKwh, 1.5);
    EXPECT_EQ(days[0].savedHundredthWattSeconds, 1700);
    EXPECT_DOUBLE_EQ(days[0].savedKwh(), 1700 / 3.6e8);
    EXPECT_EQ(days[1].day, kMonday + kDay);
    EXPECT_EQ(days[1].savedHundredthWattSeconds, 300);

    const auto minutes = store.minutes(kMonday, kMonday + kDay - 1);
    ASSERT_EQ(minutes.size(), 2U);
    EXPECT_EQ(minutes[0].time, kMonday + 60); // oldest first
    EXPECT_EQ(store.lastDays(1).size(), 1U);
    EXPECT_EQ(store.lastDays(1)[0].day, kMonday + kDay);
}

TEST(HistoryStore, ASecondRunInTheSameMinuteAveragesByRefreshes) {
    TempFolder folder;
    auto store = HistoryStore::openForWriting(folder / "history.sqlite").store;
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->recordMinute(minuteAt(kMonday, 100, 15), 0, 0));
    ASSERT_TRUE(store->recordMinute(minuteAt(kMonday, 200, 5), 0, 0));
    const auto minutes = store->minutes(kMonday, kMonday);
    ASSERT_EQ(minutes.size(), 1U);
    EXPECT_DOUBLE_EQ(minutes[0].systemWatts, 125.0);
    EXPECT_EQ(minutes[0].refreshes, 20);
}

TEST(HistoryStore, FoldsMinutesOlderThanThirtyDaysAndKeepsTheDays) {
    TempFolder folder;
    auto store = HistoryStore::openForWriting(folder / "history.sqlite").store;
    ASSERT_TRUE(store);
    const std::int64_t now = kMonday + 40 * kDay;
    ASSERT_TRUE(store->recordMinute(minuteAt(now - 31 * kDay), 1, 10));
    ASSERT_TRUE(store->recordMinute(minuteAt(now - 30 * kDay), 1, 10));
    ASSERT_TRUE(store->recordMinute(minuteAt(now - 29 * kDay), 1, 10));
    ASSERT_EQ(store->minutes(0, INT64_MAX).size(), 3U);

    ASSERT_TRUE(store->recordMinute(minuteAt(now), 1, 10));
    const auto minutes = store->minutes(0, INT64_MAX);
    ASSERT_EQ(minutes.size(), 3U);
    EXPECT_EQ(minutes.front().time, now - 30 * kDay); // exactly 30 days old is still kept
    EXPECT_EQ(store->days(0, INT64_MAX).size(), 4U);
}

TEST(HistoryStore, KeepsLimitCrossings) {
    TempFolder folder;
    auto store = HistoryStore::openForWriting(folder / "history.sqlite").store;
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->recordAlert({kMonday + 5, "cpu_temperature", 81, 80}));
    const auto alerts = store->alerts(kMonday, kMonday + 10);
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0].limit, "cpu_temperature");
    EXPECT_DOUBLE_EQ(alerts[0].value, 81);
    EXPECT_TRUE(store->alerts(kMonday + 6, kMonday + 10).empty());
}

TEST(HistoryStore, UsesTheWriteAheadLog) {
    TempFolder folder;
    auto store = HistoryStore::openForWriting(folder / "history.sqlite").store;
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->recordMinute(minuteAt(kMonday), 1, 1));
    EXPECT_TRUE(std::filesystem::exists(folder / "history.sqlite-wal"));
}

TEST(HistoryStore, KeepsADamagedFileAsideAndStartsAgain) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    test::writeFile(file, std::string(4096, 'x'));
    auto opened = HistoryStore::openForWriting(file);
    ASSERT_TRUE(opened.store);
    EXPECT_NE(opened.notice.find("is damaged"), std::string::npos) << opened.notice;
    EXPECT_NE(opened.notice.find("history.sqlite.damaged-"), std::string::npos) << opened.notice;
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.path().filename().string().starts_with("history.sqlite.damaged-")) {
            ++kept;
            EXPECT_EQ(test::readTextFile(entry.path()), std::string(4096, 'x'));
        }
    EXPECT_EQ(kept, 1);
    EXPECT_TRUE(opened.store->recordMinute(minuteAt(kMonday), 1, 1));
    EXPECT_EQ(opened.store->integrityCheck(), "ok");
}

TEST(HistoryStore, LeavesAFileAnotherWriterHoldsAndKeepsNoHistory) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    {
        auto first = HistoryStore::openForWriting(file).store;
        ASSERT_TRUE(first);
        ASSERT_TRUE(first->recordMinute(minuteAt(kMonday), 1, 1));
    }
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    auto opened = HistoryStore::openForWriting(file);
    EXPECT_FALSE(opened.store);
    EXPECT_NE(opened.notice.find("in use by another program"), std::string::npos) << opened.notice;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    // Nothing was moved or lost.
    auto again = HistoryStore::openForWriting(file);
    ASSERT_TRUE(again.store) << again.notice;
    EXPECT_EQ(again.store->minutes(0, INT64_MAX).size(), 1U);
}

TEST(HistoryStore, ReadingAMissingHistoryCreatesNothing) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    auto opened = HistoryStore::openForReading(file);
    ASSERT_TRUE(opened.store) << opened.notice;
    EXPECT_TRUE(opened.store->minutes(0, INT64_MAX).empty());
    EXPECT_TRUE(opened.store->lastDays(7).empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

// Only a regular file is a history: a FIFO would block the open forever, a link would have the
// history written into the file it names, a folder is nothing to read.
TEST(HistoryStore, RefusesWhatIsNotARegularFile) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    const auto elsewhere = folder / "elsewhere.sqlite";
    {
        auto store = HistoryStore::openForWriting(elsewhere).store;
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->recordMinute(minuteAt(kMonday), 1, 1));
    }
    const auto before = test::readTextFile(elsewhere);
    using Make = void (*)(const std::filesystem::path& file, const std::filesystem::path& elsewhere);
    const std::pair<const char*, Make> kinds[] = {
        {"FIFO", [](const auto& f, const auto&) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }},
        {"link", [](const auto& f, const auto& e) { std::filesystem::create_symlink(e, f); }},
        {"folder", [](const auto& f, const auto&) { std::filesystem::create_directory(f); }},
    };
    for (const auto& [kind, make] : kinds) {
        make(file, elsewhere);
        for (const bool writing : {false, true}) {
            const auto opened =
                writing ? HistoryStore::openForWriting(file) : HistoryStore::openForReading(file);
            EXPECT_FALSE(opened.store) << kind;
            EXPECT_NE(opened.notice.find("history.sqlite"), std::string::npos)
                << kind << ": " << opened.notice;
        }
        EXPECT_FALSE(std::filesystem::exists(folder / "history.sqlite-wal")) << kind;
        std::filesystem::remove(file);
    }
    EXPECT_EQ(test::readTextFile(elsewhere), before);
    EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere.sqlite-wal"));
}

TEST(HistoryStore, CreatesTheHistoryForItsOwnerAlone) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    const auto oldMask = ::umask(022);
    auto store = HistoryStore::openForWriting(file).store;
    ::umask(oldMask);
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->recordMinute(minuteAt(kMonday), 1, 1));
    for (const char* name : {"history.sqlite", "history.sqlite-wal"}) {
        struct stat status {};
        ASSERT_EQ(::stat((folder / name).c_str(), &status), 0) << name;
        EXPECT_EQ(status.st_mode & 0777, 0600U) << name;
    }
}

// The report and the export read a closed history as it lies: nothing is created beside it, so a
// folder the user cannot write to is no obstacle. A history with its writer running is read with
// the rows still in the log.
TEST(HistoryStore, ReadingCreatesNothingAndSeesTheRunningWritersRows) {
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    {
        auto store = HistoryStore::openForWriting(file).store;
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->recordMinute(minuteAt(kMonday), 1, 1));
    }
    ASSERT_FALSE(std::filesystem::exists(folder / "history.sqlite-wal"));
    {
        auto opened = HistoryStore::openForReading(file);
        ASSERT_TRUE(opened.store) << opened.notice;
        EXPECT_EQ(opened.store->minutes(0, INT64_MAX).size(), 1U);
        EXPECT_EQ(opened.store->newestMinute(), kMonday);
        EXPECT_FALSE(std::filesystem::exists(folder / "history.sqlite-wal"));
        EXPECT_FALSE(std::filesystem::exists(folder / "history.sqlite-shm"));
    }
    auto writer = HistoryStore::openForWriting(file).store;
    ASSERT_TRUE(writer);
    ASSERT_TRUE(writer->recordMinute(minuteAt(kMonday + 60), 1, 1));
    auto opened = HistoryStore::openForReading(file);
    ASSERT_TRUE(opened.store) << opened.notice;
    EXPECT_EQ(opened.store->minutes(0, INT64_MAX).size(), 2U);
}

// A newer version's file (a column and a table more) still takes this version's minutes; another
// program's database is neither read as a history nor added to.
TEST(HistoryStore, TakesANewerVersionsFileAndRefusesAForeignDatabase) {
    TempFolder folder;
    const auto newer = folder / "history.sqlite";
    {
        auto store = HistoryStore::openForWriting(newer).store;
        ASSERT_TRUE(store);
    }
    sqlite3* database = nullptr;
    ASSERT_EQ(sqlite3_open(newer.c_str(), &database), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(database,
                           "ALTER TABLE minutes ADD COLUMN gpu_w REAL; CREATE TABLE notes (text TEXT);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(database);
    {
        auto store = HistoryStore::openForWriting(newer).store;
        ASSERT_TRUE(store);
        EXPECT_TRUE(store->recordMinute(minuteAt(kMonday), 1, 1)) << store->lastError();
        EXPECT_EQ(store->minutes(0, INT64_MAX).size(), 1U);
    }

    const auto foreign = folder / "foreign" / "history.sqlite";
    std::filesystem::create_directory(folder / "foreign");
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &database), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(database, "CREATE TABLE people (name TEXT); INSERT INTO people VALUES ('x');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(database);
    const auto read = HistoryStore::openForReading(foreign);
    EXPECT_FALSE(read.store);
    EXPECT_NE(read.notice.find("not a Solvane power history"), std::string::npos) << read.notice;
    const auto written = HistoryStore::openForWriting(foreign);
    ASSERT_TRUE(written.store);
    EXPECT_NE(written.notice.find("history.sqlite.damaged-"), std::string::npos) << written.notice;
}

// Kills a process that writes minute rows in a tight loop at random moments: every time the file
// must pass SQLite's integrity check, and the day's energy must equal the minutes kept (each
// minute and its energy are one transaction).
TEST(HistoryStore, SurvivesKillNineAtAnyMomentOfAWriteLoop) {
    const auto writer = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "history_writer";
    if (!std::filesystem::exists(writer))
        GTEST_SKIP() << "history_writer is not built next to the tests";
    TempFolder folder;
    const auto file = folder / "history.sqlite";
    std::mt19937 random(4711);
    std::size_t lastCount = 0;
    for (int round = 0; round < 30; ++round) {
        test::ChildProcess child(writer, {file.string()});
        ASSERT_TRUE(child.waitForOutput("ready")) << child.errors();
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution(0, 40000)(random)));
        child.signal(SIGKILL);
        ASSERT_EQ(child.wait(), 128 + SIGKILL) << child.errors();

        auto opened = HistoryStore::openForWriting(file);
        ASSERT_TRUE(opened.store) << "round " << round << ": " << opened.notice;
        EXPECT_TRUE(opened.notice.empty()) << opened.notice;
        EXPECT_EQ(opened.store->integrityCheck(), "ok") << "round " << round;
        const auto minutes = opened.store->minutes(0, INT64_MAX);
        std::int64_t saved = 0;
        for (const auto& day : opened.store->days(0, INT64_MAX))
            saved += day.savedHundredthWattSeconds;
        EXPECT_EQ(saved, static_cast<std::int64_t>(minutes.size())) << "round " << round;
        EXPECT_GE(minutes.size(), lastCount) << "rows went missing";
        lastCount = minutes.size();
    }
    EXPECT_GT(lastCount, 0U);
}

} // namespace
} // namespace solvane::history
