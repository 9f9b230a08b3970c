#include "app/NoWindowRun.h"
#include "app/ProgramLauncher.h"

#include <type_traits>

// The module of runs without a window: its one entry point, looked up by name by the program.
extern "C" __attribute__((visibility("default"))) int solvane_run_without_window(int argc, char* argv[]) {
    static_assert(std::is_same_v<decltype(solvane::app::runWithoutWindow), solvane::app::WindowEntry>);
    return solvane::app::runWithoutWindow(argc, argv);
}
