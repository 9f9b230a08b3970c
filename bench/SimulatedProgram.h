#pragma once

#include "app/CSampleDlg.h"
#include "app/SolvaneCore.h"
#include "hw/driver/IoDriver.h"
#include "hw/driver/ZubrikDriver.h"
#include "platform/DeviceIo.h"
#include "platform/FileRegistry.h"
#include "platform/Prompt.h"
#include "platform/QtScheduler.h"
#include "platform/Random.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "platform/SystemFacts.h"
#include "sim/SimulatedHardware.h"
#include "ui/RecordingNotificationShell.h"

#include <filesystem>
#include <memory>

namespace solvane::bench {

// The program composed as it starts on a simulated board, in this process: the board under a
// constant CPU load (so the host's own load does not change what the monitor does) or, as the
// program runs by default, under this machine's own load; the registry
// file in stateFolder, the core, the loaded I/O driver and, with a main window, the window shown
// with all six pages initialised. The board itself keeps nothing on disk: a real board's registers
// cost no file writes.
class SimulatedProgram {
public:
    enum class Front {
        None,       // the core initialised as the report does, no window
        MainWindow, // the main window shown, as a user starts the program
    };

    enum class Load {
        Fixed, // 40 %
        Host,  // this machine's CPU usage, the program's default
    };

    SimulatedProgram(const std::filesystem::path& stateFolder, Front front, Load load = Load::Fixed);
    ~SimulatedProgram();
    SimulatedProgram(const SimulatedProgram&) = delete;
    SimulatedProgram& operator=(const SimulatedProgram&) = delete;

    app::SolvaneCore& core() { return *m_core; }
    // Null without a main window.
    app::CSampleDlg* window() const { return m_window.get(); }
    // Takes the window to the basic-mode page the way a user does, and lets it settle.
    void showBasicPage();
    // Moves the board's clock on (it runs with the process's steady clock besides), as the time
    // between two refreshes passes.
    void advanceBoardClock(std::chrono::milliseconds time) { m_boardClockAhead += time; }

private:
    std::chrono::milliseconds m_boardClockAhead{0};
    sim::SimulatedHardware m_hardware;
    std::unique_ptr<platform::FileRegistry> m_registry;
    platform::HostSystemFacts m_system;
    platform::QtScheduler m_scheduler;
    platform::ScriptedPrompt m_prompt;
    platform::LcgRandom m_random;
    std::unique_ptr<app::SolvaneCore> m_core;
    platform::ServiceTable m_services;
    platform::DeviceNamespace m_devices{m_services};
    hw::ZubrikDriver m_kernelSide;
    platform::ThreadSleeper m_sleeper;
    hw::IoDriver m_driver{m_system, m_services, m_devices, m_sleeper};
    ui::RecordingNotificationShell m_shell;
    std::unique_ptr<app::CSampleDlg> m_window;
};

} // namespace solvane::bench
