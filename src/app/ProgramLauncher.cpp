#include "app/ProgramLauncher.h"

#include "app/CommandLineStart.h"
#include "platform/SystemFacts.h"

#include <dlfcn.h>
#include <iostream>

namespace solvane::app {

int launchSolvane(int argc, char* argv[]) {
    const auto start = startFromCommandLine(argc, argv);
    if (start.exitCode)
        return *start.exitCode;
    const auto module = platform::HostSystemFacts().programFolder() / kWindowModuleFile;
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::cerr << "solvane: cannot load the window module: " << dlerror() << '\n';
        return 1;
    }
    auto* entry = reinterpret_cast<WindowEntry*>(dlsym(handle, kWindowEntryPoint));
    if (entry == nullptr) {
        std::cerr << "solvane: " << module.string() << " has no entry point " << kWindowEntryPoint << '\n';
        return 1;
    }
    // The module stays loaded until the process ends: the window's static objects live in it.
    return entry(argc, argv);
}

} // namespace solvane::app
