// Feeds arbitrary bytes to the power history reader as a history file (damaged, foreign or made
// up): no crash, no read outside the input, no hang, and what it reads exports as CSV.
#include "history/HistoryCsv.h"
#include "history/HistoryStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <unistd.h>

namespace {

const std::filesystem::path& folder() {
    static const auto path = [] {
        auto made = std::filesystem::temp_directory_path() / ("fuzz-history-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::history;
    const auto file = folder() / kHistoryFileName;
    std::filesystem::remove(folder() / "history.sqlite-wal");
    std::filesystem::remove(folder() / "history.sqlite-shm");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto opened = HistoryStore::openForReading(file);
    if (!opened.store) {
        if (opened.notice.empty())
            std::abort(); // a refusal always says why
        return 0;
    }
    constexpr auto kAll = std::numeric_limits<std::int64_t>::max();
    constexpr auto kNone = std::numeric_limits<std::int64_t>::min();
    std::ostringstream csv;
    const auto minutes = writeHistoryCsv(*opened.store, CsvRows::Minutes, kNone, kAll, csv);
    if (minutes != opened.store->minutes(kNone, kAll).size())
        std::abort();
    writeHistoryCsv(*opened.store, CsvRows::Days, kNone, kAll, csv);
    opened.store->alerts(kNone, kAll);
    opened.store->lastDays(7);
    opened.store->newestMinute();
    return 0;
}
