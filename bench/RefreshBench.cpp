// One basic-mode refresh: the sensors read, the formulas run and the read-outs set. Painting is
// not part of it: the loop never returns to the event loop, so the labels only note that they
// need painting.
#include "BenchSupport.h"
#include "SimulatedProgram.h"

#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kRefreshBudgetUs = 50.0;

void refreshLoop(benchmark::State& state, SimulatedProgram& program) {
    auto* monitor = program.core().session().monitor();
    if (monitor == nullptr) {
        state.SkipWithError("the power-saving monitor did not start");
        return;
    }
    const auto cpuStart = processCpuTime();
    for (auto _ : state)
        monitor->Refresh();
    const std::chrono::duration<double, std::micro> cpu = processCpuTime() - cpuStart;
    reportAgainstBudget(state, "refresh_cpu_us", cpu.count(), kRefreshBudgetUs, true);
}

// The monitor alone, as the report runs it: sensors and formulas.
void BM_RefreshWithoutWindow(benchmark::State& state) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::None);
    refreshLoop(state, program);
}
BENCHMARK(BM_RefreshWithoutWindow)->Unit(benchmark::kMicrosecond);

// The refresh as the running window has it: the basic page shows the new read-outs.
void BM_RefreshOnBasicPage(benchmark::State& state) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::MainWindow);
    program.showBasicPage();
    refreshLoop(state, program);
}
BENCHMARK(BM_RefreshOnBasicPage)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace solvane::bench
