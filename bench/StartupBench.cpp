// Start-up to the main window shown with all six pages initialised, on a simulated 2917: the
// board back-end, the registry file, the core, the I/O driver and the window, up to the first
// round of events handled. Tearing the window down again is not timed. The budget holds the
// process's CPU time, which other programs on a busy machine leave alone; the wall-clock time is
// reported beside it.
#include "BenchSupport.h"
#include "SimulatedProgram.h"

#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kStartupBudgetMs = 50.0;

void BM_StartupToShownWindow(benchmark::State& state) {
    application();
    ScratchFolder folder;
    double wallMs = 0.0;
    double cpuMs = 0.0;
    for (auto _ : state) {
        const auto wallStart = std::chrono::steady_clock::now();
        const auto cpuStart = processCpuTime();
        auto program = std::make_unique<SimulatedProgram>(folder.path(), SimulatedProgram::Front::MainWindow);
        const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - wallStart;
        const std::chrono::duration<double, std::milli> cpu = processCpuTime() - cpuStart;
        state.SetIterationTime(wall.count() / 1000.0);
        wallMs += wall.count();
        cpuMs += cpu.count();
        program.reset();
    }
    reportAgainstBudget(state, "startup_cpu_ms", cpuMs, kStartupBudgetMs, true);
    state.counters["startup_wall_ms"] = benchmark::Counter(wallMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartupToShownWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
} // namespace solvane::bench
