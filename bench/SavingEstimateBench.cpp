// What the saving estimate adds to a refresh in a saving mode: learning the share at a load Default
// was seen at, or scaling by the share of the nearest load where it was not.
#include "BenchSupport.h"
#include "power/SavingEstimate.h"

#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kEstimateBudgetUs = 5.0;

void BM_SavingEstimatePerRefresh(benchmark::State& state) {
    power::SavingEstimate estimate;
    // Default seen at every other load, so that refreshes both learn and search for a share.
    for (int bin = 0; bin <= 20; bin += 2)
        estimate.observeDefault({bin / 20.0, {90.0 + bin, 40.0, 12.0, 8.0}});
    int refresh = 0;
    const auto cpuStart = processCpuTime();
    for (auto _ : state) {
        const double load = (refresh++ % 21) / 20.0;
        benchmark::DoNotOptimize(estimate.saving({load, {60.0 + 20 * load, 36.0, 11.0, 8.0}}));
    }
    const std::chrono::duration<double, std::micro> cpu = processCpuTime() - cpuStart;
    reportAgainstBudget(state, "estimate_cpu_us", cpu.count(), kEstimateBudgetUs, true);
}
BENCHMARK(BM_SavingEstimatePerRefresh)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace solvane::bench
