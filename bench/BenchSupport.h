#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

class QApplication;

namespace solvane::bench {

// The one application object of the benchmark process, made on first use; without a display the
// windows go to the offscreen platform.
QApplication& application();

// CPU time of the whole process (every thread) so far.
std::chrono::nanoseconds processCpuTime();

// A size field of /proc/self/status ("VmRSS", "VmHWM", ...) in MiB; 0 when it cannot be read.
double statusMebibytes(std::string_view field);

// Reports a measured value beside its budget: "<name>" (averaged over the iterations when
// perIteration), "<name>_budget" and "<name>_of_budget_pct".
void reportAgainstBudget(benchmark::State& state, const std::string& name, double value, double budget,
                         bool perIteration = false);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace solvane::bench
