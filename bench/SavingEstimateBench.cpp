// What the saving estimate adds to a refresh in a saving mode: learning the mode's figures at a load
// Default was seen at, or carrying Default's draw over from the nearest such load where it was not.
#include "BenchSupport.h"
#include "power/CpuRegulatorModel.h"
#include "power/SavingEstimate.h"

#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kEstimateBudgetUs = 5.0;

void BM_SavingEstimatePerRefresh(benchmark::State& state) {
    using Point = power::SavingEstimate::CpuPoint;
    power::SavingEstimate estimate(power::cpuRegulatorModelFor(2917));
    // Default seen at every other load, so that refreshes both learn and carry Default's draw over.
    for (int bin = 0; bin <= 20; bin += 2)
        estimate.observeDefault({bin / 20.0, {90.0 + bin, 40.0, 12.0, 8.0}, Point{1.2, 1.0, 85.0 + bin, 6}});
    int refresh = 0;
    const auto cpuStart = processCpuTime();
    for (auto _ : state) {
        const double load = (refresh++ % 21) / 20.0;
        benchmark::DoNotOptimize(
            estimate.saving({load,
                             {60.0 + 20 * load, 36.0, 11.0, 8.0},
                             Point{1.05 + 0.1 * load, 0.5 + 0.5 * load, 56.0 + 20 * load, 3}}));
    }
    const std::chrono::duration<double, std::micro> cpu = processCpuTime() - cpuStart;
    reportAgainstBudget(state, "estimate_cpu_us", cpu.count(), kEstimateBudgetUs, true);
}
BENCHMARK(BM_SavingEstimatePerRefresh)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace solvane::bench
