#pragma once

namespace solvane::app {

// The window lives in a module beside the program, loaded only when a window is wanted: a report,
// --help or --version then never loads the window system's libraries, which cost more than all the
// rest of a report.
inline constexpr const char* kWindowModuleFile = "solvane-window.so";
inline constexpr const char* kWindowEntryPoint = "solvane_run_window";
using WindowEntry = int(int argc, char* argv[]); // runSolvane

// The program's entry: the command line, the state folder and the report in this process, then the
// window module for everything else.
int launchSolvane(int argc, char* argv[]);

} // namespace solvane::app
