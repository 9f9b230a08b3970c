// Writes minute rows into a power history as fast as it can until killed, so a test can kill it at
// random moments and check the database stays sound. Each row's energy is 1 unit, so the day row
// always equals the number of minute rows written.
#include "history/HistoryStore.h"

#include <iostream>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: history_writer FILE\n";
        return 2;
    }
    auto opened = solvane::history::HistoryStore::openForWriting(argv[1]);
    if (!opened.store) {
        std::cerr << opened.notice << '\n';
        return 1;
    }
    auto& store = *opened.store;
    const auto written = store.minutes(0, INT64_MAX);
    std::int64_t time = written.empty() ? 0 : written.back().time + 60;
    std::cout << "ready" << std::endl;
    for (;; time += 60) {
        solvane::history::MinuteRow row{time, 100.5, 40.25, 12.0, 55.0, 1800.0, 1.25, 1, 20};
        if (!store.recordMinute(row, 0.001, 1)) {
            std::cerr << store.lastError() << '\n';
            return 1;
        }
    }
}
