#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace solvane::app {

// A window-less monitor (the systemd user unit) and the window take turns: the monitor leaves its
// process id beside the instance lock; a window started while it runs asks it to hand over
// (SIGUSR1). The monitor then writes its history, ends with kHandedOverExitCode, which the unit
// takes as a failure to retry later, and the window takes the lock.
inline constexpr int kHandedOverExitCode = 75;
// A monitor that cannot serve the metrics it was asked for (the port is in use): retrying would
// not help.
inline constexpr int kMetricsUnavailableExitCode = 3;

std::filesystem::path monitorProcessFile(const std::filesystem::path& lockFolder);

// Kept by the window-less monitor while it runs: the file with its process id.
class MonitorProcessFile {
public:
    explicit MonitorProcessFile(std::filesystem::path file);
    ~MonitorProcessFile();
    MonitorProcessFile(const MonitorProcessFile&) = delete;
    MonitorProcessFile& operator=(const MonitorProcessFile&) = delete;

private:
    std::filesystem::path m_file;
};

// The window's side, through calls a test can replace.
struct HandOverCalls {
    // The process id in the monitor's file, if there is one.
    std::function<std::optional<pid_t>()> monitorProcess;
    // Whether that process is this program running without a window (a stale file may name any
    // process by now).
    std::function<bool(pid_t)> isThisProgram;
    std::function<bool(pid_t)> askToHandOver;
    std::function<bool()> lockHeld;
    std::function<void()> pause; // one poll interval
};
// Polls of the lock after asking: the monitor writes its last minute and ends well within this.
inline constexpr int kHandOverPolls = 100;

// Asks a running window-less monitor to hand over and waits until the lock is free. False when no
// such monitor holds the lock (another window, say) or it did not let go in time.
bool takeOverFromMonitor(const HandOverCalls& calls);
// The real calls, with the monitor's file in lockFolder.
HandOverCalls systemHandOverCalls(const std::filesystem::path& lockFolder, std::function<bool()> lockHeld);

} // namespace solvane::app
