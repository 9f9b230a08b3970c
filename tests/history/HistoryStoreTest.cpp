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
