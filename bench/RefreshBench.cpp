// One basic-mode refresh: the sensors read, the formulas run and the read-outs set. Painting is
// not part of it: the loop never returns to the event loop, so the labels only note that they
// need painting. The board's clock moves on by a refresh period before each, as between two
// refreshes of the running program, so a load source that samples the machine samples it each time.
#include "BenchSupport.h"
#include "SimulatedProgram.h"

#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kRefreshBudgetUs = 20.0;

using Step = void (power::PowerMonitor::*)();

void refreshLoop(benchmark::State& state, SimulatedProgram& program, Step step) {
    auto* monitor = program.core().session().monitor();
    if (monitor == nullptr) {
        state.SkipWithError("the power-saving monitor did not start");
        return;
    }
    const auto cpuStart = processCpuTime();
    for (auto _ : state) {
        program.advanceBoardClock(std::chrono::milliseconds(power::PowerMonitor::kRefreshPeriodMs));
        (monitor->*step)();
    }
    const std::chrono::duration<double, std::micro> cpu = processCpuTime() - cpuStart;
    reportAgainstBudget(state, "refresh_cpu_us", cpu.count(), kRefreshBudgetUs, true);
}

// The monitor alone, as the report runs it: sensors and formulas.
void BM_RefreshWithoutWindow(benchmark::State& state) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::None);
    refreshLoop(state, program, &power::PowerMonitor::Refresh);
}
BENCHMARK(BM_RefreshWithoutWindow)->Unit(benchmark::kMicrosecond);

// The same under this machine's own load, the program's default load source: it reads the
// kernel's CPU counters on each refresh.
void BM_RefreshWithHostLoad(benchmark::State& state) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::None, SimulatedProgram::Load::Host);
    refreshLoop(state, program, &power::PowerMonitor::Refresh);
}
BENCHMARK(BM_RefreshWithHostLoad)->Unit(benchmark::kMicrosecond);

void onBasicPage(benchmark::State& state, Step step) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::MainWindow);
    program.showBasicPage();
    refreshLoop(state, program, step);
}

// The refresh as the running window has it: the basic page shows the new read-outs.
void BM_RefreshOnBasicPage(benchmark::State& state) {
    onBasicPage(state, &power::PowerMonitor::Refresh);
}
BENCHMARK(BM_RefreshOnBasicPage)->Unit(benchmark::kMicrosecond);

// The whole work of the 3-second timer: the refresh, then the mode buttons brought up to date.
void BM_RefreshTimerTickOnBasicPage(benchmark::State& state) {
    onBasicPage(state, &power::PowerMonitor::tick);
}
BENCHMARK(BM_RefreshTimerTickOnBasicPage)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace solvane::bench
