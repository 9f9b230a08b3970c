#include "app/ProgramLauncher.h"

#include "app/CommandLineStart.h"
#include "app/NoWindowRun.h"
#include "platform/RuntimeFolders.h"
#include "platform/SystemFacts.h"

#include <dlfcn.h>
#include <iostream>

namespace solvane::app {

int launchSolvane(int argc, char* argv[]) {
    const auto start = startFromCommandLine(argc, argv);
    if (start.exitCode)
        return *start.exitCode;
    // A run without a window has a module of its own, without the window system.
    const bool window = !start.options.noWindow;
    const auto module = platform::runtimeFoldersFor(platform::HostSystemFacts().programFolder()).modules /
                        (window ? kWindowModuleFile : kNoWindowModuleFile);
    const char* entryPoint = window ? kWindowEntryPoint : kNoWindowEntryPoint;
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::cerr << "solvane: cannot load the "
                  << (window ? "window module: " : "module for runs without a window: ") << dlerror() << '\n';
        return 1;
    }
    auto* entry = reinterpret_cast<WindowEntry*>(dlsym(handle, entryPoint));
    if (entry == nullptr) {
        std::cerr << "solvane: " << module.string() << " has no entry point " << entryPoint << '\n';
        return 1;
    }
    // The module stays loaded until the process ends: the window's static objects live in it.
    return entry(argc, argv);
}

} // namespace solvane::app
