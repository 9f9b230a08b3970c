#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace solvane::history {

inline constexpr std::string_view kHistoryFileName = "history.sqlite";
// Minute rows are kept this long; day rows for good.
inline constexpr std::int64_t kMinuteRetentionSeconds = 30 * 86400;

// The averages of the refreshes of one minute (time: the minute's first second, UTC).
struct MinuteRow {
    std::int64_t time = 0;
    double systemWatts = 0;
    double cpuWatts = 0;
    double savingWatts = 0;
    double cpuCelsius = 0;
    double fanRpm = 0;
    double coreVolts = 0;
    int mode = -1; // the power mode of the minute's last refresh
    int refreshes = 0;
    // What the powers of the minute's last refresh were measured on (see PowerSample); empty for a
    // minute written by a version that did not keep it.
    std::string powerSource = {};
};

// Energy of one UTC day (day: its first second).
struct DayRow {
    std::int64_t day = 0;
    double consumedKwh = 0;
    // Saved energy in the registry totals' own unit (0.01 W·s), so a day adds up exactly.
    std::int64_t savedHundredthWattSeconds = 0;
    double savedKwh() const;
};

// Energy to add to one day's row.
struct DayEnergy {
    std::int64_t day = 0;
    double consumedKwh = 0;
    std::int64_t savedHundredthWattSeconds = 0;
};

// What one transaction writes: minutes not yet on disk, the energy they add to their days, and
// the time before which minute rows are folded away (none: nothing is folded).
struct MinuteBatch {
    std::vector<MinuteRow> minutes;
    std::vector<DayEnergy> days;
    std::optional<std::int64_t> foldBefore;
};

// A limit crossed: which limit, the value that crossed it and the limit then.
struct AlertRow {
    std::int64_t time = 0;
    std::string limit;
    double value = 0;
    double threshold = 0;
};

// The power history on disk: an SQLite database in WAL mode with a table of minute rows, one of day
// rows and one of limit crossings. Each minute is one transaction, so a process killed at any
// moment loses at most the minute it was collecting and never leaves the file damaged.
// A history is known by its tables, not by a version number: every statement names its columns,
// so a newer version's file with columns or tables more is used as it is, and a column this
// version added is added to an older file when it is opened for writing (its rows keep an empty
// value there); read only, an older file is read without it.
class HistoryStore {
public:
    struct Opened {
        std::unique_ptr<HistoryStore> store; // empty when the history cannot be used
        std::string notice;                  // what the user is told, if anything
    };
    // For the monitor: creates the file (readable by its owner alone) when missing; a damaged file
    // is renamed aside and a new history started; a file another process holds locked is left
    // alone and no store is returned. A link, FIFO or anything but a regular file is refused.
    static Opened openForWriting(const std::filesystem::path& file);
    // For export and the report: never changes the file nor creates anything beside it (a folder
    // the user cannot write to is fine); a missing file is an empty history. What is not a
    // regular file is refused without waiting on it.
    static Opened openForReading(const std::filesystem::path& file);

    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Everything in the batch or nothing, in one transaction; folded minutes' energy stays in the
    // day rows.
    bool write(const MinuteBatch& batch);
    // One minute and what it adds to its day's energy; minute rows older than the retention before
    // the minute are folded away.
    bool recordMinute(const MinuteRow& minute, double consumedKwh, std::int64_t savedHundredthWattSeconds);
    bool recordAlert(const AlertRow& alert);

    // Rows with from <= time <= to, oldest first.
    std::vector<MinuteRow> minutes(std::int64_t from, std::int64_t to) const;
    std::vector<DayRow> days(std::int64_t from, std::int64_t to) const;
    std::vector<AlertRow> alerts(std::int64_t from, std::int64_t to) const;
    // The time of the newest minute row, if any.
    std::optional<std::int64_t> newestMinute() const;
    // The latest day rows, oldest first.
    std::vector<DayRow> lastDays(int count) const;

    // "ok" when SQLite finds the file sound, else its findings.
    std::string integrityCheck() const;
    const std::string& lastError() const { return m_lastError; }

private:
    explicit HistoryStore(sqlite3* database);
    bool execute(const char* sql);
    bool writeRows(const MinuteBatch& batch);

    sqlite3* m_database;
    bool m_minutesHaveSource; // false: an older version's file opened read only
    std::string m_lastError;
};

} // namespace solvane::history
