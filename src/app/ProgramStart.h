#pragma once

#include "app/CommandLine.h"
#include "app/HardwareBackend.h"
#include "app/SolvaneCore.h"
#include "host/HostOptions.h"
#include "host/PlatformProfileFile.h"
#include "platform/PowerProfileService.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace solvane::app {

// Where the registry is kept: the file in the state folder, changed as the program runs, or a copy
// of it in memory, so that a report changes nothing on disk.
enum class RegistryUse { File, Snapshot };

// The registry and the core built on it; the caller holds them where they must end (the core before
// the scheduler and the application it runs on).
struct StartedCore {
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<SolvaneCore> core;
};

// The one start-up of the program, shared by the window, the window-less monitor and the report:
// the hardware back-end, the registry opened and seeded, the system facts, the random source and the
// core. What differs between them comes in as parameters: the clock of a simulated board, where the
// registry is kept, the scheduler, the prompt, how a notice reaches the user and how the core asks the
// program to close. A new back-end is chosen in HardwareBackend and reaches all three from here.
class ProgramStart {
public:
    // Chooses the back-end; a back-end the options cannot have is printed as "solvane: <error>".
    ProgramStart(const Options& options, std::filesystem::path stateFolder, const SimulationRun& run = {});
    ProgramStart(const ProgramStart&) = delete;
    ProgramStart& operator=(const ProgramStart&) = delete;

    // The exit code when the back-end could not be made (its error is printed), else empty.
    std::optional<int> backendFailed() const;

    // On a PC, the system's power-profile daemon, which the modes switch before the firmware's file.
    // Given by the window and the window-less monitor only: a report never switches a profile, and
    // so never links the bus client.
    void useProfileDaemon(std::unique_ptr<platform::PowerProfileService> daemon) {
        m_profileDaemon = std::move(daemon);
    }

    // Tells the back-end's notice, opens the registry (telling what was wrong with its file) and seeds
    // it, then builds the core. On a PC a core on the registry file switches the system's power
    // profile with its modes; a snapshot (the report) leaves it alone. Called once, when the program is ready
    // to touch its files; this object outlives what it returns.
    StartedCore startCore(RegistryUse use, platform::Scheduler& scheduler, platform::Prompt& prompt,
                          const std::function<void(const std::string&)>& tell,
                          std::function<void()> requestClose);

    HardwareBackend& backend() { return m_backend; }
    const platform::SystemFacts& system() const { return m_system; }

private:
    const Options& m_options;
    std::filesystem::path m_stateFolder;
    HardwareBackend m_backend;
    platform::HostSystemFacts m_system;
    platform::LcgRandom m_random;
    // On a PC, the power-profile services the modes switch: the daemon, else the firmware's file.
    std::unique_ptr<platform::PowerProfileService> m_profileDaemon;
    std::unique_ptr<host::PlatformProfileFile> m_profileFile;
};

// A notice printed on the error stream, as the programs without a window tell it.
void printNotice(const std::string& notice);

} // namespace solvane::app
