// Resident memory once the program has started with its main window shown: VmRSS of the whole
// benchmark process, so it counts the resident pages of every library mapped (Qt's own, about
// 15 MiB of the total, and the benchmark library, a few hundred KiB) as well as the program's.
// The resident size before the start-up is reported too, so the program's own share can be told
// from what Qt itself holds, and the total is split into anonymous memory (the heap, decoded
// pictures, the window's backing store) and pages of mapped files (the libraries' code and data).
#include "BenchSupport.h"
#include "SimulatedProgram.h"

#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kResidentBudgetMib = 45.0;

void BM_ResidentMemoryAfterStartup(benchmark::State& state) {
    application();
    ScratchFolder folder;
    const double before = statusMebibytes("VmRSS");
    double resident = 0.0;
    double anonymous = 0.0;
    double files = 0.0;
    for (auto _ : state) {
        SimulatedProgram program(folder.path(), SimulatedProgram::Front::MainWindow);
        resident = statusMebibytes("VmRSS");
        anonymous = statusMebibytes("RssAnon");
        files = statusMebibytes("RssFile");
    }
    reportAgainstBudget(state, "rss_mib", resident, kResidentBudgetMib);
    state.counters["rss_before_startup_mib"] = before;
    state.counters["rss_peak_mib"] = statusMebibytes("VmHWM");
    state.counters["rss_anon_mib"] = anonymous;
    state.counters["rss_file_mib"] = files;
}
BENCHMARK(BM_ResidentMemoryAfterStartup)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace solvane::bench
