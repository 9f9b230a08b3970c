// One scrape of the metrics endpoint over loopback, as monitoring does it every few seconds: a new
// connection, the request, the metrics text made from the latest refresh, the answer. Client and
// server share this process's event loop, so the CPU time measured is both sides'.
#include "BenchSupport.h"
#include "SimulatedProgram.h"
#include "app/PowerHistoryRun.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <benchmark/benchmark.h>

namespace solvane::bench {
namespace {

constexpr double kScrapeBudgetUs = 1000.0;

// The answer is complete once the last family's sample line has ended.
bool scrapeOnce(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write("GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    for (int round = 0; round < 100000; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        answer += socket.readAll();
        const auto last = answer.lastIndexOf("solvane_energy_saved_joules_total{");
        if (last >= 0 && answer.endsWith('\n'))
            return answer.startsWith("HTTP/1.1 200");
    }
    return false;
}

void BM_MetricsScrape(benchmark::State& state) {
    application();
    ScratchFolder folder;
    SimulatedProgram program(folder.path(), SimulatedProgram::Front::None);
    app::PowerHistoryRun run(program.core(), folder.path(), "127.0.0.1:0", app::systemSeconds);
    if (run.metricsPort() == 0 || run.history() == nullptr) {
        state.SkipWithError(run.notice().c_str());
        return;
    }
    const auto cpuStart = processCpuTime();
    for (auto _ : state)
        if (!scrapeOnce(run.metricsPort())) {
            state.SkipWithError("the endpoint did not answer");
            return;
        }
    const std::chrono::duration<double, std::micro> cpu = processCpuTime() - cpuStart;
    reportAgainstBudget(state, "scrape_cpu_us", cpu.count(), kScrapeBudgetUs, true);
}
BENCHMARK(BM_MetricsScrape)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace solvane::bench
