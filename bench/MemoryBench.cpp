// Resident memory once the program has started with its main window shown. The benchmark process
// carries the benchmark library besides the program, a few hundred KiB; the resident size before
// the start-up is reported too, so the program's own share can be told from what Qt itself holds.
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
    for (auto _ : state) {
        SimulatedProgram program(folder.path(), SimulatedProgram::Front::MainWindow);
        resident = statusMebibytes("VmRSS");
    }
    reportAgainstBudget(state, "rss_mib", resident, kResidentBudgetMib);
    state.counters["rss_before_startup_mib"] = before;
    state.counters["rss_peak_mib"] = statusMebibytes("VmHWM");
}
BENCHMARK(BM_ResidentMemoryAfterStartup)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace solvane::bench
