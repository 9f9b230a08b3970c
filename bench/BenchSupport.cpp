#include "BenchSupport.h"

#include <QApplication>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <stdexcept>

namespace solvane::bench {

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform cannot shape windows and says so on every start-up; the shape is not
// what is measured, so that one line is dropped and everything else is passed on.
void dropShapeWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("does not support setting window masks")))
        return;
    g_defaultHandler(type, context, message);
}

} // namespace

QApplication& application() {
    static int argc = 1;
    static char name[] = "solvane_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (g_defaultHandler == nullptr)
        g_defaultHandler = qInstallMessageHandler(dropShapeWarnings);
    static QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return app;
}

std::chrono::nanoseconds processCpuTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

double statusMebibytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        // "VmRSS:	   41236 kB"
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':')
            return std::strtod(line.c_str() + field.size() + 1, nullptr) / 1024.0;
    }
    return 0.0;
}

void reportAgainstBudget(benchmark::State& state, const std::string& name, double value, double budget,
                         bool perIteration) {
    using Counter = benchmark::Counter;
    const auto flags = perIteration ? Counter::kAvgIterations : Counter::kDefaults;
    state.counters[name] = Counter(value, flags);
    state.counters[name + "_budget"] = Counter(budget);
    const double share = perIteration && state.iterations() > 0
                             ? value / static_cast<double>(state.iterations()) / budget * 100.0
                             : value / budget * 100.0;
    state.counters[name + "_of_budget_pct"] = Counter(share);
}

ScratchFolder::ScratchFolder() {
    auto pattern = (std::filesystem::temp_directory_path() / "solvane-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder in " + pattern);
    m_path = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace solvane::bench
