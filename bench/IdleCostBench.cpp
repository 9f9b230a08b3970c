// The cost of the program waiting on the basic-mode page: the real Qt timers drive the 3-second
// refresh and the window paints what changed. Measured with the window shown, minimised, and put
// away to the notification area (the icon alone). Reported as CPU time of the whole process per
// second of wall time, over a whole number of refresh periods so every interval holds the same
// number of refreshes.
#include "BenchSupport.h"
#include "SimulatedProgram.h"
#include "power/PowerMonitor.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

// Of one core: with the window open on any page, and with the window out of sight.
constexpr double kShownBudgetPct = 0.03;
constexpr double kOutOfSightBudgetPct = 0.01;
// Ten refreshes: long enough that one refresh more or less in an interval does not decide it.
constexpr int kPeriods = 10;

enum class Waiting { Shown, Minimised, IconOnly };

void idleCost(benchmark::State& state, Waiting waiting) {
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::MainWindow);
    program.showBasicPage();
    if (waiting == Waiting::Minimised)
        program.window()->showMinimized();
    else if (waiting == Waiting::IconOnly)
        program.window()->hide();
    QApplication::processEvents();
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
    reportAgainstBudget(state, "idle_cpu_pct", cpuSeconds / wallSeconds * 100.0,
                        waiting == Waiting::Shown ? kShownBudgetPct : kOutOfSightBudgetPct);
}

void BM_IdleCostOnBasicPage(benchmark::State& state) {
    idleCost(state, Waiting::Shown);
}
BENCHMARK(BM_IdleCostOnBasicPage)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_IdleCostMinimised(benchmark::State& state) {
    idleCost(state, Waiting::Minimised);
}
BENCHMARK(BM_IdleCostMinimised)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_IdleCostIconOnly(benchmark::State& state) {
    idleCost(state, Waiting::IconOnly);
}
BENCHMARK(BM_IdleCostIconOnly)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace solvane::bench
