// The cost of the program sitting open on the basic-mode page: the real Qt timers drive the
// 3-second refresh and the window paints what changed. Reported as CPU time of the whole process
// per second of wall time, over a whole number of refresh periods so every interval holds the same
// number of refreshes.
#include "BenchSupport.h"
#include "SimulatedProgram.h"
#include "power/PowerMonitor.h"

#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kIdleBudgetPct = 0.1; // of one core
constexpr int kPeriods = 2;

void BM_IdleCostOnBasicPage(benchmark::State& state) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::MainWindow);
    program.showBasicPage();
    const auto interval = std::chrono::milliseconds(kPeriods * power::PowerMonitor::kRefreshPeriodMs);
    double cpuSeconds = 0.0;
    double wallSeconds = 0.0;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(interval, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        const auto wallStart = std::chrono::steady_clock::now();
        const auto cpuStart = processCpuTime();
        loop.exec();
        const std::chrono::duration<double> cpu = processCpuTime() - cpuStart;
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
        state.SetIterationTime(wall.count());
        cpuSeconds += cpu.count();
        wallSeconds += wall.count();
    }
    reportAgainstBudget(state, "idle_cpu_pct", cpuSeconds / wallSeconds * 100.0, kIdleBudgetPct);
}
BENCHMARK(BM_IdleCostOnBasicPage)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace solvane::bench
