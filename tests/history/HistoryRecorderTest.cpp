// The recorder against a real store: writes that fail lose nothing and are told once, and wall
// clock steps neither fold minutes away nor write them out of order.
#include "history/HistoryRecorder.h"

#include "history/IsoTime.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace solvane::history {
namespace {

constexpr std::int64_t kDay = 86400;
// 2026-12-07T00:00:00Z
constexpr std::int64_t kMonday = 1796601600;

PowerSample sampleOf(double systemWatts) {
    PowerSample sample;
    sample.systemWatts = systemWatts;
    sample.cpuWatts = systemWatts / 2;
    sample.mode = power::PowerMode::Optimize;
    return sample;
}

// Twenty refreshes, three seconds apart, over the minute starting at `minute` (boot clock
// `boot`), each saving 100 (0.01 W·s).
void fillMinute(HistoryRecorder& recorder, std::int64_t minute, std::int64_t boot, double watts) {
    for (int refresh = 0; refresh < 20; ++refresh)
        recorder.add(sampleOf(watts), minute + 3 * refresh, boot + 3 * refresh, 100);
}

std::int64_t savedOnDisk(const HistoryStore& store) {
    std::int64_t saved = 0;
    for (const auto& day : store.days(INT64_MIN, INT64_MAX))
        saved += day.savedHundredthWattSeconds;
    return saved;
}

class HistoryRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto opened = HistoryStore::openForWriting(m_folder / "history.sqlite");
        ASSERT_TRUE(opened.store) << opened.notice;
        m_store = std::move(opened.store);
    }

    test::TempFolder m_folder;
    std::unique_ptr<HistoryStore> m_store;
};

// Another connection holds the write lock across two minute boundaries (as a disk that is full
// or a file made read-only would refuse them): both minutes wait, the user hears of it once, and
// the next minute that can be written takes them along with their energy.
TEST_F(HistoryRecorderTest, MinutesThatCannotBeWrittenWaitAndAreToldOnce) {
    std::vector<std::string> told;
    HistoryRecorder recorder(*m_store);
    recorder.onWriteFailure([&](const std::string& message) { told.push_back(message); });

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((m_folder / "history.sqlite").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    fillMinute(recorder, kMonday, 1000, 100);
    fillMinute(recorder, kMonday + 60, 1060, 200);  // writes the first minute: refused
    fillMinute(recorder, kMonday + 120, 1120, 300); // the first two: refused
    EXPECT_EQ(recorder.waitingMinutes(), 2U);
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told[0].find("cannot be written"), std::string::npos) << told[0];
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    fillMinute(recorder, kMonday + 180, 1180, 400);
    EXPECT_EQ(recorder.waitingMinutes(), 0U);
    recorder.flush();
    const auto minutes = m_store->minutes(INT64_MIN, INT64_MAX);
    ASSERT_EQ(minutes.size(), 4U);
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        EXPECT_EQ(minutes[i].time, kMonday + 60 * static_cast<std::int64_t>(i));
        EXPECT_DOUBLE_EQ(minutes[i].systemWatts, 100.0 * static_cast<double>(i + 1));
        EXPECT_EQ(minutes[i].refreshes, 20);
    }
    EXPECT_EQ(savedOnDisk(*m_store), 4 * 20 * 100);
    const auto days = m_store->days(INT64_MIN, INT64_MAX);
    ASSERT_EQ(days.size(), 1U);
    // 20 refreshes of 3 s each minute at 100, 200, 300 and 400 W.
    EXPECT_NEAR(days[0].consumedKwh, (100 + 200 + 300 + 400) * 60 / 3.6e6, 1e-12);
    EXPECT_EQ(told.size(), 1U);
}

// Writes fail for longer than a day (here the table is gone, which fails at once): the waiting
// minutes are capped, and the energy of those dropped still reaches its days.
TEST_F(HistoryRecorderTest, ALongFailureKeepsADayOfMinutesAndAllTheEnergy) {
    HistoryRecorder recorder(*m_store);
    const auto exec = [&](const char* sql) {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open((m_folder / "history.sqlite").c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(other);
    };
    exec("ALTER TABLE minutes RENAME TO minutes_aside");
    const auto failing = static_cast<std::int64_t>(HistoryRecorder::kMaxWaitingMinutes) + 5;
    for (std::int64_t minute = 0; minute < failing; ++minute)
        fillMinute(recorder, kMonday + 60 * minute, 60 * minute, 100);
    EXPECT_EQ(recorder.waitingMinutes(), HistoryRecorder::kMaxWaitingMinutes);
    exec("ALTER TABLE minutes_aside RENAME TO minutes");
    fillMinute(recorder, kMonday + 60 * failing, 60 * failing, 100);
    recorder.flush();
    const auto rows = m_store->minutes(INT64_MIN, INT64_MAX);
    ASSERT_EQ(rows.size(), HistoryRecorder::kMaxWaitingMinutes + 1);
    EXPECT_EQ(rows.back().time, kMonday + 60 * failing);
    EXPECT_EQ(savedOnDisk(*m_store), (failing + 1) * 20 * 100);
    EXPECT_EQ(m_store->days(INT64_MIN, INT64_MAX).size(), 2U);
}

struct Step {
    const char* what;
    std::int64_t stepSeconds; // added to the wall clock after the first hour
};

// A minute keeps the source of its last refresh, as it keeps its mode: a PC unplugged within the
// minute is measured on its battery from then on. A supported board's figures are its own sensors'.
TEST_F(HistoryRecorderTest, AMinuteKeepsTheSourceOfItsLastRefresh) {
    HistoryRecorder recorder(*m_store);
    auto sample = sampleOf(40);
    sample.powerSource = "CPU package power (powercap intel-rapl:0 (package-0))";
    recorder.add(sample, kMonday, 100, 0);
    sample.powerSource = "battery draw (power_supply BAT0 power_now)";
    recorder.add(sample, kMonday + 3, 103, 0);
    recorder.add(sampleOf(40), kMonday + 60, 160, 0);
    recorder.flush();
    const auto minutes = m_store->minutes(kMonday, kMonday + 60);
    ASSERT_EQ(minutes.size(), 2U);
    EXPECT_EQ(minutes[0].powerSource, "battery draw (power_supply BAT0 power_now)");
    EXPECT_EQ(minutes[1].powerSource, kBoardPowerSource);
}

// A run of two hours whose wall clock is stepped after the first: rows older than the retention
// before the step stay, and every minute lands after the one before it.
TEST_F(HistoryRecorderTest, AWallClockStepFoldsNothingAndKeepsTheOrder) {
    for (const auto step :
         {Step{"forward 40 days", 40 * kDay}, Step{"back 3 hours", -3 * 3600}, Step{"back 1 minute", -60}}) {
        SCOPED_TRACE(step.what);
        SetUp();
        // The last run's minutes, from 29 days ago up to an hour ago.
        for (const std::int64_t age : {29 * kDay, kDay, std::int64_t{3600}})
            ASSERT_TRUE(m_store->recordMinute({kMonday - age, 100, 50, 0, 50, 1500, 1.2, 1, 20}, 0.001, 1));
        HistoryRecorder recorder(*m_store);
        std::int64_t boot = 5000;
        std::int64_t wall = kMonday;
        std::int64_t lastMinute = INT64_MIN;
        for (int minute = 0; minute < 120; ++minute) {
            if (minute == 60)
                wall += step.stepSeconds;
            fillMinute(recorder, wall, boot, 100);
            wall += 60;
            boot += 60;
            const auto newest = m_store->newestMinute();
            if (newest && minute > 0) {
                EXPECT_GT(*newest, lastMinute) << "minute " << minute;
                lastMinute = *newest;
            }
        }
        recorder.flush();
        const auto rows = m_store->minutes(INT64_MIN, INT64_MAX);
        EXPECT_EQ(rows.front().time, kMonday - 29 * kDay);
        EXPECT_EQ(rows.size(), 3U + 120U);
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_LT(rows[i - 1].time, rows[i].time);
        EXPECT_EQ(savedOnDisk(*m_store), 3 + 120 * 20 * 100);
        m_store.reset();
        for (const char* name : {"history.sqlite", "history.sqlite-wal", "history.sqlite-shm"})
            std::filesystem::remove(m_folder / name);
    }
}

} // namespace
} // namespace solvane::history
