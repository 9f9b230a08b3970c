// One scrape of the metrics endpoint over loopback, as monitoring does it every few seconds: a new
// connection, the request, the metrics text made from the latest refresh, the answer. Client and
// server share this process's event loop, so the CPU time measured is both sides'.
#include "BenchSupport.h"
#include "SimulatedProgram.h"
#include "app/PowerHistoryRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace solvane::bench {
namespace {

constexpr double kScrapeBudgetUs = 1000.0;
// A scrape among hostile connections, from connect to the whole answer.
constexpr double kHostileScrapeBudgetUs = 50000.0;
constexpr int kHostileConnections = 1000;

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

// A simulated monitor serving its metrics on a free loopback port.
struct ServedProgram {
    ScratchFolder folder;
    SimulatedProgram program{folder.path(), SimulatedProgram::Front::None};
    app::PowerHistoryRun run{program.core(), folder.path(), "127.0.0.1:0", app::systemSeconds};

    bool serving(benchmark::State& state) {
        if (run.metricsPort() != 0 && run.history() != nullptr)
            return true;
        state.SkipWithError(run.notice().c_str());
        return false;
    }
};

void BM_MetricsScrape(benchmark::State& state) {
    application();
    ServedProgram served;
    if (!served.serving(state))
        return;
    const auto& run = served.run;
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

// The same scrape while a thousand connections that send nothing, or a request head never
// finished, are open: the endpoint keeps its connection limit by closing the longest idle ones.
void BM_MetricsScrapeAmongHostileConnections(benchmark::State& state) {
    application();
    ServedProgram served;
    if (!served.serving(state))
        return;
    const auto& run = served.run;
    std::vector<std::unique_ptr<QTcpSocket>> hostile;
    for (int i = 0; i < kHostileConnections; ++i) {
        hostile.push_back(std::make_unique<QTcpSocket>());
        hostile.back()->connectToHost(QHostAddress::LocalHost, run.metricsPort());
        if (i % 2 == 0)
            hostile.back()->write("GET /metrics HTTP/1.1\r\nX-Slow: ");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    double slowestUs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (!scrapeOnce(run.metricsPort())) {
            state.SkipWithError("the endpoint did not answer");
            return;
        }
        slowestUs = std::max(slowestUs, static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    reportAgainstBudget(state, "slowest_scrape_us", slowestUs, kHostileScrapeBudgetUs);
}
BENCHMARK(BM_MetricsScrapeAmongHostileConnections)->Unit(benchmark::kMicrosecond)->Iterations(50);

} // namespace
} // namespace solvane::bench
