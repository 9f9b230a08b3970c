#include "app/HistoryExport.h"

#include "history/HistoryCsv.h"
#include "history/IsoTime.h"
#include "platform/AtomicFile.h"

#include <iostream>
#include <limits>
#include <sstream>

namespace solvane::app {

int runHistoryExport(const Options& options, const std::filesystem::path& stateFolder) {
    const auto file = stateFolder / history::kHistoryFileName;
    const auto opened = history::HistoryStore::openForReading(file);
    if (!opened.store) {
        std::cerr << "solvane: " << opened.notice << '\n';
        return 1;
    }
    const auto from = options.historyFrom.empty()
                          ? std::numeric_limits<std::int64_t>::min()
                          : history::parseIsoTime(options.historyFrom, history::Bound::Start).value_or(0);
    const auto to = options.historyTo.empty()
                        ? std::numeric_limits<std::int64_t>::max()
                        : history::parseIsoTime(options.historyTo, history::Bound::End).value_or(0);
    std::ostringstream csv;
    const auto rows = history::writeHistoryCsv(
        *opened.store, options.historyDays ? history::CsvRows::Days : history::CsvRows::Minutes, from, to,
        csv);
    if (const auto error = platform::writeFileAtomically(options.exportHistoryFile, csv.str());
        !error.empty()) {
        std::cerr << "solvane: cannot write " << options.exportHistoryFile << ": " << error << '\n';
        return 1;
    }
    std::cerr << "solvane: " << rows << (options.historyDays ? " day" : " minute")
              << (rows == 1 ? " row" : " rows") << " written to " << options.exportHistoryFile.string()
              << '\n';
    return 0;
}

} // namespace solvane::app
