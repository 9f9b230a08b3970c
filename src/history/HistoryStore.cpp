#include "history/HistoryStore.h"

#include "history/IsoTime.h"
#include "history/PowerSample.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace solvane::history {

namespace {

constexpr int kBusyTimeoutMs = 250;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS minutes ("
    " time INTEGER PRIMARY KEY, system_w REAL, cpu_w REAL, saving_w REAL,"
    " cpu_c REAL, fan_rpm REAL, core_v REAL, mode INTEGER, refreshes INTEGER, source TEXT);"
    "CREATE TABLE IF NOT EXISTS days ("
    " day INTEGER PRIMARY KEY, consumed_kwh REAL, saved_cws INTEGER);"
    "CREATE TABLE IF NOT EXISTS alerts ("
    " id INTEGER PRIMARY KEY, time INTEGER, name TEXT, value REAL, threshold REAL);"
    "CREATE INDEX IF NOT EXISTS alerts_by_time ON alerts(time);";

// The column the first version's minutes lack; opened for writing, such a file gets it.
constexpr const char* kAddSourceColumn = "ALTER TABLE minutes ADD COLUMN source TEXT";

// A second run within the same minute adds its refreshes to the minute's averages.
constexpr const char* kInsertMinute =
    "INSERT INTO minutes (time, system_w, cpu_w, saving_w, cpu_c, fan_rpm, core_v, mode, refreshes, source)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10) ON CONFLICT(time) DO UPDATE SET"
    " system_w = (system_w * refreshes + excluded.system_w * excluded.refreshes) / (refreshes + "
    "excluded.refreshes),"
    " cpu_w = (cpu_w * refreshes + excluded.cpu_w * excluded.refreshes) / (refreshes + excluded.refreshes),"
    " saving_w = (saving_w * refreshes + excluded.saving_w * excluded.refreshes) / (refreshes + "
    "excluded.refreshes),"
    " cpu_c = (cpu_c * refreshes + excluded.cpu_c * excluded.refreshes) / (refreshes + excluded.refreshes),"
    " fan_rpm = (fan_rpm * refreshes + excluded.fan_rpm * excluded.refreshes) / (refreshes + "
    "excluded.refreshes),"
    " core_v = (core_v * refreshes + excluded.core_v * excluded.refreshes) / (refreshes + "
    "excluded.refreshes),"
    " mode = excluded.mode, refreshes = refreshes + excluded.refreshes, source = excluded.source";
constexpr const char* kAddToDay =
    "INSERT INTO days (day, consumed_kwh, saved_cws) VALUES (?1, ?2, ?3) ON CONFLICT(day) DO UPDATE SET"
    " consumed_kwh = consumed_kwh + excluded.consumed_kwh, saved_cws = saved_cws + excluded.saved_cws";

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* database, const char* sql) {
        sqlite3_prepare_v2(database, sql, -1, &m_statement, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool valid() const { return m_statement != nullptr; }
    Statement& bind(int index, std::int64_t value) {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    Statement& bind(int index, double value) {
        sqlite3_bind_double(m_statement, index, value);
        return *this;
    }
    Statement& bind(int index, const std::string& value) {
        sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return m_statement == nullptr ? SQLITE_ERROR : sqlite3_step(m_statement); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    bool isNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }
    std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(m_statement, column);
        return bytes == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(bytes));
    }

private:
    sqlite3_stmt* m_statement = nullptr;
};

enum class OpenResult { Ok, Damaged, Locked, Failed };

// How a history file is opened: written by the monitor, read where the log beside it may hold
// rows, or read as it lies on disk (nothing is created beside it).
enum class Access { Write, Read, ReadAsIs };

// What is at a history's path. Only a regular file is opened: a FIFO would block the open
// forever, and a link would have the history written into whatever it points at.
struct FileFound {
    bool exists = false;
    std::string refusal; // why it must not be opened
};

FileFound examine(const std::filesystem::path& file) {
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0)
        return {false, errno == ENOENT ? std::string() : std::string(std::strerror(errno))};
    if (S_ISLNK(status.st_mode))
        return {true, "it is a link; the history is kept only in a regular file"};
    if (!S_ISREG(status.st_mode))
        return {true, "it is not a regular file"};
    return {true, {}};
}

// An SQLite URI for a read-only open; the path's own '?', '#' and '%' are escaped.
std::string readUri(const std::filesystem::path& file, Access access) {
    std::string uri = "file://";
    for (const char c : std::filesystem::absolute(file).string()) {
        if (c == '?' || c == '#' || c == '%') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            uri += escaped;
        } else {
            uri += c;
        }
    }
    return uri + (access == Access::ReadAsIs ? "?mode=ro&immutable=1" : "?mode=ro");
}

// Creates a missing history readable by its owner alone; SQLite gives its log the same mode.
void createPrivately(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

// Empty, or holding the history's three tables.
bool isHistory(sqlite3* database) {
    Statement count(database, "SELECT count(*), count(CASE WHEN type = 'table' AND name IN"
                              " ('minutes', 'days', 'alerts') THEN 1 END)"
                              " FROM sqlite_schema WHERE type IN ('table', 'view')");
    if (count.step() != SQLITE_ROW)
        return false;
    return count.integer(0) == 0 || count.integer(1) == 3;
}

bool hasColumn(sqlite3* database, const std::string& table, const std::string& column) {
    Statement query(database, "SELECT count(*) FROM pragma_table_info(?1) WHERE name = ?2");
    query.bind(1, table).bind(2, column);
    return query.step() == SQLITE_ROW && query.integer(0) > 0;
}

// Opens the file and checks it is a sound history. `why` says what went wrong.
OpenResult openDatabase(const std::filesystem::path& file, Access access, sqlite3*& database,
                        std::string& why) {
    const bool writable = access == Access::Write;
    const bool inMemory = file == ":memory:";
    if (!inMemory) {
        const auto found = examine(file);
        if (!found.refusal.empty()) {
            why = found.refusal;
            return OpenResult::Failed;
        }
        if (writable && !found.exists)
            createPrivately(file);
    }
    const auto name = writable || inMemory ? file.string() : readUri(file, access);
    const int flags = writable || inMemory ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                           : SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    int code = sqlite3_open_v2(name.c_str(), &database, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    auto fail = [&](int result) {
        why = database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(result);
        sqlite3_close(database);
        database = nullptr;
        const int primary = result & 0xFF;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            return OpenResult::Locked;
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
            return OpenResult::Damaged;
        return OpenResult::Failed;
    };
    if (code != SQLITE_OK)
        return fail(code);
    sqlite3_busy_timeout(database, kBusyTimeoutMs);
    // The file may come from anywhere: its schema runs no functions with side effects, and SQL
    // cannot damage it on purpose.
    sqlite3_db_config(database, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(database, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    if (writable) {
        // WAL: a killed writer leaves the file as of its last commit. NORMAL sync is enough for
        // that; only a power cut can cost the last commits.
        if ((code = sqlite3_exec(database, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr,
                                 nullptr, nullptr)) != SQLITE_OK)
            return fail(code);
        // Another writer holds the file: leave it to that one.
        if ((code = sqlite3_exec(database, "BEGIN IMMEDIATE; COMMIT;", nullptr, nullptr, nullptr)) !=
            SQLITE_OK)
            return fail(code);
    }
    std::string verdict;
    code = sqlite3_exec(
        database, "PRAGMA quick_check",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += values[0] != nullptr ? values[0] : "";
            return 0;
        },
        &verdict, nullptr);
    if (code != SQLITE_OK)
        return fail(code);
    if (verdict != "ok") {
        why = verdict;
        sqlite3_close(database);
        database = nullptr;
        return OpenResult::Damaged;
    }
    // Another program's database is not taken for a history (nor added to): it has tables, and not
    // the three of a history.
    if (!isHistory(database)) {
        why = "it is not a Solvane power history";
        sqlite3_close(database);
        database = nullptr;
        return OpenResult::Damaged;
    }
    if (!writable && !inMemory)
        return OpenResult::Ok;
    if ((code = sqlite3_exec(database, kSchema, nullptr, nullptr, nullptr)) != SQLITE_OK)
        return fail(code);
    // An earlier version's minutes: the column is added and their rows keep no source, since what
    // they were measured on was not kept.
    if (!hasColumn(database, "minutes", "source") &&
        (code = sqlite3_exec(database, kAddSourceColumn, nullptr, nullptr, nullptr)) != SQLITE_OK)
        return fail(code);
    return OpenResult::Ok;
}

// Renames the damaged file and its journal aside, under one new name.
std::filesystem::path keepAside(const std::filesystem::path& file) {
    const auto now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    auto aside = file;
    aside += ".damaged-" + isoDateTime(now);
    std::error_code ignored;
    std::filesystem::rename(file, aside, ignored);
    for (const char* journal : {"-wal", "-shm"}) {
        auto from = file;
        from += journal;
        auto to = aside;
        to += journal;
        if (std::filesystem::exists(from, ignored))
            std::filesystem::rename(from, to, ignored);
    }
    return aside;
}

} // namespace

double DayRow::savedKwh() const {
    return kilowattHoursOf(savedHundredthWattSeconds);
}

HistoryStore::Opened HistoryStore::openForWriting(const std::filesystem::path& file) {
    Opened opened;
    sqlite3* database = nullptr;
    std::string why;
    auto result = openDatabase(file, Access::Write, database, why);
    if (result == OpenResult::Damaged) {
        const auto aside = keepAside(file);
        opened.notice = "The power history " + file.string() + " is damaged (" + why + "). It was kept as " +
                        aside.string() + " and a new history begins.";
        result = openDatabase(file, Access::Write, database, why);
    }
    if (result == OpenResult::Ok) {
        opened.store.reset(new HistoryStore(database));
        return opened;
    }
    if (!opened.notice.empty())
        opened.notice += " ";
    opened.notice +=
        result == OpenResult::Locked
            ? "The power history " + file.string() +
                  " is in use by another program; it is left alone and this run keeps no history."
            : "The power history " + file.string() + " cannot be used (" + why +
                  "); this run keeps no history.";
    return opened;
}

HistoryStore::Opened HistoryStore::openForReading(const std::filesystem::path& file) {
    Opened opened;
    sqlite3* database = nullptr;
    std::string why;
    std::error_code ignored;
    auto log = file;
    log += "-wal";
    OpenResult result = OpenResult::Failed;
    if (!examine(file).exists) {
        // No file yet: an empty history in memory, so nothing is created on disk.
        result = openDatabase(":memory:", Access::Read, database, why);
    } else if (!std::filesystem::exists(log, ignored)) {
        // No log: no writer has the file open (the last one folds its log back in on closing),
        // so the file holds every row and is read without creating a log beside it.
        result = openDatabase(file, Access::ReadAsIs, database, why);
    } else {
        result = openDatabase(file, Access::Read, database, why);
        // A folder the user cannot write to has no room for the log's index: what the file
        // itself holds is still the history up to the last fold.
        if (result == OpenResult::Failed && examine(file).refusal.empty())
            result = openDatabase(file, Access::ReadAsIs, database, why);
    }
    if (result == OpenResult::Ok) {
        opened.store.reset(new HistoryStore(database));
        return opened;
    }
    opened.notice = "The power history " + file.string() + " cannot be read (" + why + ").";
    return opened;
}

HistoryStore::HistoryStore(sqlite3* database)
    : m_database(database), m_minutesHaveSource(hasColumn(database, "minutes", "source")) {}

HistoryStore::~HistoryStore() {
    sqlite3_close(m_database);
}

bool HistoryStore::execute(const char* sql) {
    if (sqlite3_exec(m_database, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    m_lastError = sqlite3_errmsg(m_database);
    return false;
}

bool HistoryStore::recordMinute(const MinuteRow& minute, double consumedKwh,
                                std::int64_t savedHundredthWattSeconds) {
    return write({{minute},
                  {{minute.time - minute.time % kSecondsPerDay, consumedKwh, savedHundredthWattSeconds}},
                  minute.time - kMinuteRetentionSeconds});
}

bool HistoryStore::write(const MinuteBatch& batch) {
    if (!execute("BEGIN IMMEDIATE"))
        return false;
    if (writeRows(batch))
        return execute("COMMIT");
    m_lastError = sqlite3_errmsg(m_database);
    execute("ROLLBACK");
    return false;
}

bool HistoryStore::writeRows(const MinuteBatch& batch) {
    for (const auto& minute : batch.minutes) {
        Statement insert(m_database, kInsertMinute);
        insert.bind(1, minute.time)
            .bind(2, minute.systemWatts)
            .bind(3, minute.cpuWatts)
            .bind(4, minute.savingWatts)
            .bind(5, minute.cpuCelsius)
            .bind(6, minute.fanRpm)
            .bind(7, minute.coreVolts)
            .bind(8, std::int64_t{minute.mode})
            .bind(9, std::int64_t{minute.refreshes})
            .bind(10, minute.powerSource);
        if (insert.step() != SQLITE_DONE)
            return false;
    }
    for (const auto& energy : batch.days) {
        Statement day(m_database, kAddToDay);
        day.bind(1, energy.day).bind(2, energy.consumedKwh).bind(3, energy.savedHundredthWattSeconds);
        if (day.step() != SQLITE_DONE)
            return false;
    }
    if (!batch.foldBefore)
        return true;
    Statement fold(m_database, "DELETE FROM minutes WHERE time < ?1");
    fold.bind(1, *batch.foldBefore);
    return fold.step() == SQLITE_DONE;
}

bool HistoryStore::recordAlert(const AlertRow& alert) {
    Statement insert(m_database, "INSERT INTO alerts (time, name, value, threshold) VALUES (?1, ?2, ?3, ?4)");
    insert.bind(1, alert.time).bind(2, alert.limit).bind(3, alert.value).bind(4, alert.threshold);
    if (insert.step() == SQLITE_DONE)
        return true;
    m_lastError = sqlite3_errmsg(m_database);
    return false;
}

std::vector<MinuteRow> HistoryStore::minutes(std::int64_t from, std::int64_t to) const {
    std::vector<MinuteRow> rows;
    const std::string sql =
        std::string("SELECT time, system_w, cpu_w, saving_w, cpu_c, fan_rpm, core_v, mode,"
                    " refreshes, ") +
        (m_minutesHaveSource ? "source" : "NULL") +
        " FROM minutes WHERE time BETWEEN ?1 AND ?2 ORDER BY time";
    Statement query(m_database, sql.c_str());
    query.bind(1, from).bind(2, to);
    while (query.step() == SQLITE_ROW)
        rows.push_back({query.integer(0), query.real(1), query.real(2), query.real(3), query.real(4),
                        query.real(5), query.real(6), static_cast<int>(query.integer(7)),
                        static_cast<int>(query.integer(8)), query.text(9)});
    return rows;
}

std::vector<DayRow> HistoryStore::days(std::int64_t from, std::int64_t to) const {
    std::vector<DayRow> rows;
    Statement query(m_database,
                    "SELECT day, consumed_kwh, saved_cws FROM days WHERE day BETWEEN ?1 AND ?2 ORDER BY day");
    query.bind(1, from).bind(2, to);
    while (query.step() == SQLITE_ROW)
        rows.push_back({query.integer(0), query.real(1), query.integer(2)});
    return rows;
}

std::optional<std::int64_t> HistoryStore::newestMinute() const {
    Statement query(m_database, "SELECT max(time) FROM minutes");
    if (query.step() != SQLITE_ROW || query.isNull(0))
        return std::nullopt;
    return query.integer(0);
}

std::vector<DayRow> HistoryStore::lastDays(int count) const {
    std::vector<DayRow> rows;
    Statement query(m_database, "SELECT day, consumed_kwh, saved_cws FROM"
                                " (SELECT * FROM days ORDER BY day DESC LIMIT ?1) ORDER BY day");
    query.bind(1, std::int64_t{count});
    while (query.step() == SQLITE_ROW)
        rows.push_back({query.integer(0), query.real(1), query.integer(2)});
    return rows;
}

std::vector<AlertRow> HistoryStore::alerts(std::int64_t from, std::int64_t to) const {
    std::vector<AlertRow> rows;
    Statement query(m_database, "SELECT time, name, value, threshold FROM alerts WHERE time BETWEEN ?1 AND ?2"
                                " ORDER BY time, id");
    query.bind(1, from).bind(2, to);
    while (query.step() == SQLITE_ROW)
        rows.push_back({query.integer(0), query.text(1), query.real(2), query.real(3)});
    return rows;
}

std::string HistoryStore::integrityCheck() const {
    std::string verdict;
    Statement query(m_database, "PRAGMA integrity_check");
    while (query.step() == SQLITE_ROW)
        verdict += query.text(0);
    return verdict;
}

} // namespace solvane::history
