#pragma once

#include "hw/BoardBus.h"
#include "hw/BoardSettingRoutines.h"
#include "hw/CpuPhaseControl.h"
#include "hw/Hardware.h"
#include "power/PowerSavingSession.h"
#include "power/RoutineCommands.h"

#include <memory>

namespace solvane::app {

// Everything of the program that is not a window: the process-wide state, the board routines
// that serve the setting commands, and the power-saving session. The main window and the report
// both run on it.
class SolvaneCore {
public:
    using Services = power::PowerSavingSession::Services;

    explicit SolvaneCore(Services services);
    SolvaneCore(const SolvaneCore&) = delete;
    SolvaneCore& operator=(const SolvaneCore&) = delete;

    // The power-saving page's initialisation: libraries, identification, settings, start mode.
    void initialise();
    // The main window has built its pages and its option popup: setting commands run from now on.
    void enableSettingCommands() { m_state.routines.checksEnabled = true; }
    // The power-saving page's exit sequence.
    void shutdown() { m_session.shutdown(); }

    power::PowerSavingState& state() { return m_state; }
    const power::PowerSavingState& state() const { return m_state; }
    power::RoutineCommands& commands() { return m_commands; }
    power::PowerSavingSession& session() { return m_session; }
    hw::BoardBus& bus() { return m_bus; }
    hw::Hardware& hardware() { return m_services.hardware; }
    const Services& services() const { return m_services; }

private:
    Services m_services;
    power::PowerSavingState m_state;
    hw::BoardBus m_bus;
    hw::CpuPhaseControl m_phases;
    hw::BoardSettingRoutines m_routines;
    power::RoutineCommands m_commands;
    power::PowerSavingSession m_session;
};

} // namespace solvane::app
