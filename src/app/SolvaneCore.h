#pragma once

#include "hw/BoardBus.h"
#include "hw/BoardSettingRoutines.h"
#include "hw/CpuPhaseControl.h"
#include "hw/Hardware.h"
#include "hw/driver/IoDriver.h"
#include "power/PowerSavingSession.h"
#include "power/RoutineCommands.h"
#include "sysinfo/MotherboardInfo.h"
#include "sysinfo/PciEnumeration.h"

#include <memory>
#include <optional>

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

    // The PCI enumeration of this run: the device list and the platform facts the information
    // pages read. It runs once, on first use (the PCI page's creation in the window), after the
    // power-saving page has loaded the PCI library, and is never refreshed.
    const sysinfo::PciScan& pciScan();
    // The motherboard information page's values, gathered as the page's initialisation does: after
    // the PCI scan, with the graphics BIOS probe run through driver (null: no driver) when the
    // graphics library cannot tell the version.
    sysinfo::MotherboardInfo gatherMotherboardInfo(hw::IoDriver* driver, bool noDdr3Module);
    // The power monitor's core-voltage text ("%.3f V"); empty while no monitor runs.
    std::string coreVoltageText();

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
    std::optional<sysinfo::PciScan> m_pciScan;
};

} // namespace solvane::app
