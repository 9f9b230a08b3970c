#pragma once

#include "board/PlatformInfo.h"
#include "hw/BoardSettingRoutines.h"
#include "hw/Hardware.h"
#include "hw/SettingRoutineState.h"
#include "platform/Prompt.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "platform/SystemFacts.h"
#include "power/BoardCapabilities.h"
#include "power/PowerMeasurement.h"
#include "power/PowerModeState.h"
#include "power/PowerMonitor.h"
#include "power/PowerSavingLibrary.h"
#include "power/SystemProfileModes.h"

#include <functional>
#include <memory>
#include <optional>

namespace solvane::power {

// The process-wide state of the power-saving monitor and the setting pages.
struct PowerSavingState {
    PlatformInfo platform;
    BoardOptions options;
    PowerModeState modes;
    hw::SettingRoutineState routines;
};

inline constexpr std::string_view kCpuUsageErrorFormat = "CPU Usage error(%d)!";

// The start-up and shut-down of the power-saving monitor: loading the hardware libraries in their
// order, identifying the platform, building the mode vectors, reading every setting, deciding the
// start mode; and at the end giving back the power plan and the fan and unloading the libraries,
// each only if its load succeeded.
class PowerSavingSession {
public:
    struct Services {
        hw::Hardware& hardware;
        platform::Registry& registry;
        const platform::SystemFacts& system;
        platform::Scheduler& scheduler;
        platform::Prompt& prompt;
        platform::RandomSource& random;
        std::uint32_t seed;
        // Asks the application to close (the CPU-usage library refused to start).
        std::function<void()> requestClose;
    };

    // routines serve the commands; the session tells them the board once it is known.
    PowerSavingSession(Services services, PowerSavingState& state, hw::BoardBus& bus, BoardCommands& commands,
                       hw::BoardSettingRoutines& routines);
    ~PowerSavingSession();
    PowerSavingSession(const PowerSavingSession&) = delete;
    PowerSavingSession& operator=(const PowerSavingSession&) = delete;

    // On a PC: the system power-profile services the modes switch, in the order they are tried.
    // Given before the initialisation; they outlive the session.
    void useSystemProfiles(std::vector<platform::PowerProfileService*> services) {
        m_profileServices = std::move(services);
    }

    // The initialisation sequence. The monitor exists afterwards only when a power-saving library
    // was loaded.
    void initialise();
    // The exit sequence (once).
    void shutdown();

    PowerMonitor* monitor() { return m_monitor.get(); }
    PowerMeasurement& measurement() { return *m_measurement; }
    bool libraryLoaded() const { return m_library.loaded(); }
    // The SMBus library answered its load call (and stays loaded until the exit sequence).
    bool smbusLibraryLoaded() const { return m_hoblinLoaded; }
    int processorCount() const { return m_processorCount; }
    // Optimize and Max can be chosen: on a supported board, or on a PC with a usable power profile.
    bool savingModesAvailable() const;
    // Why they cannot, one line for the user; empty when they can or when a board lacks them.
    std::string_view savingModesReason() const;
    // The modes through the system's power profile; null on a board.
    const SystemProfileModes* systemProfiles() const { return m_systemProfiles.get(); }

private:
    class Hooks;

    Services m_services;
    PowerSavingState& m_state;
    hw::BoardBus& m_bus;
    BoardCommands& m_commands;
    hw::BoardSettingRoutines& m_routines;
    PowerSavingLibrary m_library{nullptr};
    std::unique_ptr<PowerMeasurement> m_measurement;
    std::unique_ptr<PowerMonitor> m_monitor;
    std::vector<platform::PowerProfileService*> m_profileServices;
    std::unique_ptr<SystemProfileModes> m_systemProfiles;
    bool m_ostrelLoaded = false;
    bool m_falwickLoaded = false;
    bool m_hoblinLoaded = false;
    bool m_shutDown = false;
    int m_processorCount = 0;
};

} // namespace solvane::power
