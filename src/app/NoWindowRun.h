#pragma once

namespace solvane::app {

// --no-window: the monitor, the history and the metrics endpoint, until SIGTERM or SIGINT. It lives
// in its own module beside the program (neither the window's nor the program's), so a report loads
// no Qt library and a run without a window loads no window system.
inline constexpr const char* kNoWindowModuleFile = "solvane-monitor.so";
inline constexpr const char* kNoWindowEntryPoint = "solvane_run_without_window";
int runWithoutWindow(int argc, char* argv[]);

} // namespace solvane::app
