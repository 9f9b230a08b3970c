#include "app/ProgramLauncher.h"
#include "app/Solvane.h"

#include <type_traits>

// The window module's one entry point, looked up by name by the program.
extern "C" __attribute__((visibility("default"))) int solvane_run_window(int argc, char* argv[]) {
    static_assert(std::is_same_v<decltype(solvane::app::runSolvane), solvane::app::WindowEntry>);
    return solvane::app::runSolvane(argc, argv);
}
