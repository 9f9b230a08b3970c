#include "app/HistoryExport.h"

#include "app/ExportTarget.h"
#include "history/HistoryCsv.h"
#include "history/IsoTime.h"
#include "platform/AtomicFile.h"

#include <iostream>
#include <limits>
#include <sstream>

namespace solvane::app {

int runHistoryExport(const Options& options, const std::filesystem::path& stateFolder) {
    const auto from = options.historyFrom.empty()
                          ? std::numeric_limits<std::int64_t>::min()
                          : history::parseIsoTime(options.historyFrom, history::Bound::Start).value_or(0);
    const auto to = options.historyTo.empty()
                        ? std::numeric_limits<std::int64_t>::max()
                        : history::parseIsoTime(options.historyTo, history::Bound::End).value_or(0);
    if (from > to) {
        std::cerr << "solvane: --from " << options.historyFrom << " is later than --to " << options.historyTo
                  << "\nTry 'solvane --help' for the options.\n";
        return kUsageExitCode;
    }
    const auto target = checkExportTarget(options.exportHistoryFile, stateFolder);
    if (!target.refusal.empty()) {
        std::cerr << "solvane: --export-history: " << target.refusal << ".\n";
        return 1;
    }
    const auto file = stateFolder / history::kHistoryFileName;
    const auto opened = history::HistoryStore::openForReading(file);
    if (!opened.store) {
        std::cerr << "solvane: " << opened.notice << '\n';
        return 1;
    }
    std::ostringstream csv;
    const auto rows = history::writeHistoryCsv(
        *opened.store, options.historyDays ? history::CsvRows::Days : history::CsvRows::Minutes, from, to,
        csv);
    std::string where = "standard output";
    if (target.standardOutput) {
        std::cout << csv.str() << std::flush;
        if (!std::cout) {
            std::cerr << "solvane: cannot write the history to standard output\n";
            return 1;
        }
    } else {
        if (const auto error = platform::writeFileAtomically(target.file, csv.str()); !error.empty()) {
            std::cerr << "solvane: cannot write " << options.exportHistoryFile << ": " << error << '\n';
            return 1;
        }
        // The file replaced keeps the permissions its owner gave it.
        std::error_code ignored;
        if (target.keptPermissions != std::filesystem::perms::unknown)
            std::filesystem::permissions(target.file, target.keptPermissions, ignored);
        where = options.exportHistoryFile.string();
    }
    std::cerr << "solvane: " << rows << (options.historyDays ? " day" : " minute")
              << (rows == 1 ? " row" : " rows") << " written to " << where << '\n';
    return 0;
}

} // namespace solvane::app
