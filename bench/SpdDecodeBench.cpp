// Decoding one SPD image the way the memory page decodes a chosen module: the generation's decoder
// and the page's texts. Budget: 20 µs an image.
#include "BenchSupport.h"
#include "sysinfo/MemoryModuleDecoder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <iterator>
#include <vector>

namespace solvane::bench {
namespace {

constexpr double kDecodeBudgetMicroseconds = 20.0;

std::vector<std::uint8_t> image(const char* file) {
    std::ifstream stream(std::string(SOLVANE_SPD_IMAGES) + "/" + file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void decodeBench(benchmark::State& state, const char* file) {
    const auto spd = image(file);
    if (spd.empty()) {
        state.SkipWithError("the SPD image cannot be read");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        auto texts = sysinfo::decodeMemoryModule(spd);
        auto fields = texts.pageFields();
        benchmark::DoNotOptimize(texts);
        benchmark::DoNotOptimize(fields);
    }
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    reportAgainstBudget(state, "decode_us", elapsed.count() / static_cast<double>(state.iterations()),
                        kDecodeBudgetMicroseconds);
}

void BM_DecodeDdr4Image(benchmark::State& state) {
    decodeBench(state, "ddr4/idem-id2__Samsung_M378A2K43EB1-CWE.bin");
}
BENCHMARK(BM_DecodeDdr4Image)->Unit(benchmark::kMicrosecond);

void BM_DecodeDdr5Image(benchmark::State& state) {
    decodeBench(state, "ddr5/idem-id2__Samsung_M323R2GA3DB0-CWMOD.bin");
}
BENCHMARK(BM_DecodeDdr5Image)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace solvane::bench
