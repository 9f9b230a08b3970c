// What each way of writing the history leaves for the next run: every field of every row read back
// after the store was closed, through a writer and through a reader, also from a folder whose name
// holds the characters a database address gives a meaning of its own; and no store left holding
// the file open once it is gone or refused.
#include "history/HistoryStore.h"
#include "support/TempFolder.h"

#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

namespace solvane::history {
namespace {

using test::TempFolder;

constexpr std::int64_t kDay = 86400;
// 2026-12-07T00:00:00Z
constexpr std::int64_t kMonday = 1796601600;

// A minute whose every field differs from every other field, so a value stored in the wrong
// column or read from the wrong one shows; its source holds what a CSV or SQL text must escape.
MinuteRow distinctMinute(std::int64_t time, double base) {
    return MinuteRow{time,
                     base + 0.25,
                     base + 1.5,
                     base + 2.75,
                     base + 3.125,
                     base + 1000,
                     base / 100 + 0.5,
                     2,
                     17,
                     "CPU package power (powercap intel-rapl:0 (package-0)) + graphics card (libsensors: "
                     "amdgpu \"power1\", 'card" +
                         std::to_string(static_cast<int>(base)) + "')"};
}

void expectSameMinute(const MinuteRow& read, const MinuteRow& written) {
    EXPECT_EQ(read.time, written.time);
    EXPECT_DOUBLE_EQ(read.systemWatts, written.systemWatts);
    EXPECT_DOUBLE_EQ(read.cpuWatts, written.cpuWatts);
    EXPECT_DOUBLE_EQ(read.savingWatts, written.savingWatts);
    EXPECT_DOUBLE_EQ(read.cpuCelsius, written.cpuCelsius);
    EXPECT_DOUBLE_EQ(read.fanRpm, written.fanRpm);
    EXPECT_DOUBLE_EQ(read.coreVolts, written.coreVolts);
    EXPECT_EQ(read.mode, written.mode);
    EXPECT_EQ(read.refreshes, written.refreshes);
    EXPECT_EQ(read.powerSource, written.powerSource);
}

// The descriptors this process holds on the file or on its log and index beside it.
int descriptorsOn(const std::filesystem::path& file) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        const auto target = std::filesystem::read_symlink(entry.path(), ignored).string();
        if (target.starts_with(file.string()))
            ++count;
    }
    return count;
}

struct WritePath {
    const char* name;
    std::function<bool(HistoryStore&)> write;
    std::vector<MinuteRow> minutes; // what the history then holds, oldest first
    std::vector<DayRow> days;
    std::vector<AlertRow> alerts;
};

std::vector<WritePath> writePaths() {
    const auto early = distinctMinute(kMonday + 120, 100);
    const auto late = distinctMinute(kMonday + kDay + 60, 200);
    const auto folded = distinctMinute(kMonday - 40 * kDay, 50);
    return {
        {"one minute and its day's energy",
         [=](HistoryStore& store) { return store.recordMinute(early, 0.75, 4321); },
         {early},
         {{kMonday, 0.75, 4321}},
         {}},
        {"a batch of minutes, days and a fold",
         [=](HistoryStore& store) {
             return store.write({{folded}, {{kMonday - 40 * kDay, 0.5, 11}}, std::nullopt}) &&
                    store.write({{early, late},
                                 {{kMonday, 1.25, 600}, {kMonday + kDay, 2.5, 900}, {kMonday, 0.25, 5}},
                                 kMonday - 30 * kDay});
         },
         {early, late},
         {{kMonday - 40 * kDay, 0.5, 11}, {kMonday, 1.5, 605}, {kMonday + kDay, 2.5, 900}},
         {}},
        {"limit crossings",
         [](HistoryStore& store) {
             return store.recordAlert({kMonday + 7, "system_power", 251.5, 250}) &&
                    store.recordAlert({kMonday + 3, "fan_speed", 480, 600}) &&
                    store.recordAlert({kMonday + 7, "cpu_temperature", 83.25, 80});
         },
         {},
         {},
         {{kMonday + 3, "fan_speed", 480, 600},
          {kMonday + 7, "system_power", 251.5, 250},
          {kMonday + 7, "cpu_temperature", 83.25, 80}}},
    };
}

void expectHolds(const HistoryStore& store, const WritePath& path) {
    const auto minutes = store.minutes(0, INT64_MAX);
    ASSERT_EQ(minutes.size(), path.minutes.size());
    for (std::size_t i = 0; i < minutes.size(); ++i)
        expectSameMinute(minutes[i], path.minutes[i]);
    const auto days = store.days(0, INT64_MAX);
    ASSERT_EQ(days.size(), path.days.size());
    for (std::size_t i = 0; i < days.size(); ++i) {
        EXPECT_EQ(days[i].day, path.days[i].day);
        EXPECT_DOUBLE_EQ(days[i].consumedKwh, path.days[i].consumedKwh);
        EXPECT_EQ(days[i].savedHundredthWattSeconds, path.days[i].savedHundredthWattSeconds);
    }
    const auto alerts = store.alerts(0, INT64_MAX);
    ASSERT_EQ(alerts.size(), path.alerts.size());
    for (std::size_t i = 0; i < alerts.size(); ++i) {
        EXPECT_EQ(alerts[i].time, path.alerts[i].time);
        EXPECT_EQ(alerts[i].limit, path.alerts[i].limit);
        EXPECT_DOUBLE_EQ(alerts[i].value, path.alerts[i].value);
        EXPECT_DOUBLE_EQ(alerts[i].threshold, path.alerts[i].threshold);
    }
    EXPECT_EQ(store.newestMinute(),
              path.minutes.empty() ? std::nullopt : std::optional<std::int64_t>(path.minutes.back().time));
}

TEST(HistoryReadBack, EveryWritePathIsReadBackWholeAfterCloseAndReopen) {
    // '?', '#' and '%' in the folder name: a reader must still find the file, not a shortened name.
    for (const char* folderName : {"plain", "odd?name#1%20"}) {
        for (const auto& path : writePaths()) {
            SCOPED_TRACE(std::string(path.name) + " in " + folderName);
            TempFolder base;
            const auto folder = base / folderName;
            std::filesystem::create_directory(folder);
            const auto file = folder / "history.sqlite";
            {
                auto opened = HistoryStore::openForWriting(file);
                ASSERT_TRUE(opened.store) << opened.notice;
                ASSERT_TRUE(path.write(*opened.store)) << opened.store->lastError();
                // While the writer runs, a reader sees its rows in the log.
                const auto reader = HistoryStore::openForReading(file);
                ASSERT_TRUE(reader.store) << reader.notice;
                expectHolds(*reader.store, path);
            }
            EXPECT_EQ(descriptorsOn(file), 0) << "the closed store still holds the file";
            EXPECT_FALSE(std::filesystem::exists(folder / "history.sqlite-wal"))
                << "closing folds the log back into the file";
            {
                const auto reader = HistoryStore::openForReading(file);
                ASSERT_TRUE(reader.store) << reader.notice;
                expectHolds(*reader.store, path);
            }
            const auto writer = HistoryStore::openForWriting(file);
            ASSERT_TRUE(writer.store) << writer.notice;
            EXPECT_TRUE(writer.notice.empty()) << writer.notice;
            expectHolds(*writer.store, path);
            EXPECT_EQ(writer.store->integrityCheck(), "ok");
        }
    }
}

TEST(HistoryReadBack, QueriesTakeTheirBoundsInclusiveAndTheLatestDaysOldestFirst) {
    TempFolder folder;
    auto store = HistoryStore::openForWriting(folder / "history.sqlite").store;
    ASSERT_TRUE(store);
    for (int day = 0; day < 3; ++day)
        ASSERT_TRUE(store->recordMinute(distinctMinute(kMonday + day * kDay, day), 0.5, day + 1));
    ASSERT_TRUE(store->recordAlert({kMonday + 10, "fan_speed", 500, 600}));

    EXPECT_EQ(store->minutes(kMonday, kMonday + kDay).size(), 2U);
    EXPECT_EQ(store->minutes(kMonday + 1, kMonday + kDay - 1).size(), 0U);
    EXPECT_EQ(store->days(kMonday + kDay, kMonday + 2 * kDay).size(), 2U);
    EXPECT_EQ(store->days(kMonday + 1, kMonday + kDay - 1).size(), 0U);
    EXPECT_EQ(store->alerts(kMonday + 10, kMonday + 10).size(), 1U);
    EXPECT_EQ(store->alerts(kMonday + 11, INT64_MAX).size(), 0U);

    const auto latest = store->lastDays(2);
    ASSERT_EQ(latest.size(), 2U);
    EXPECT_EQ(latest[0].day, kMonday + kDay);
    EXPECT_EQ(latest[0].savedHundredthWattSeconds, 2);
    EXPECT_EQ(latest[1].day, kMonday + 2 * kDay);
    EXPECT_EQ(store->lastDays(7).size(), 3U);
    EXPECT_EQ(store->newestMinute(), kMonday + 2 * kDay);
}

// A file that is refused must not stay open behind the refusal: the monitor runs for months.
TEST(HistoryReadBack, ARefusedFileIsNotLeftOpen) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
    };
    const Case cases[] = {
        {"another program's database",
         [](const std::filesystem::path& file) {
             sqlite3* database = nullptr;
             ASSERT_EQ(sqlite3_open(file.c_str(), &database), SQLITE_OK);
             sqlite3_exec(database, "CREATE TABLE people (name TEXT);", nullptr, nullptr, nullptr);
             sqlite3_close(database);
         }},
        {"not a database",
         [](const std::filesystem::path& file) { test::writeFile(file, std::string(4096, 'x')); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        const auto file = folder / (std::string(name) + ".sqlite");
        make(file);
        EXPECT_FALSE(HistoryStore::openForReading(file).store);
        EXPECT_EQ(descriptorsOn(file), 0);
        {
            const auto written = HistoryStore::openForWriting(file); // kept aside, a new one begun
            ASSERT_TRUE(written.store) << written.notice;
            EXPECT_NE(written.notice.find(".damaged-"), std::string::npos) << written.notice;
        }
        EXPECT_EQ(descriptorsOn(file), 0);
    }

    const auto held = folder / "held.sqlite";
    {
        auto first = HistoryStore::openForWriting(held).store;
        ASSERT_TRUE(first);
    }
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(held.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(HistoryStore::openForWriting(held).store);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    // (SQLite closes a refused connection's descriptor only once the other connection of this
    // process lets go of its lock.)
    EXPECT_EQ(descriptorsOn(held), 0) << "the locked file is left to its writer alone";
}

} // namespace
} // namespace solvane::history
