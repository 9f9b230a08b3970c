#include "app/SolvaneCore.h"

#include "hw/GraphicsBiosProbe.h"
#include "hw/VideoControllerQuery.h"
#include "platform/RegistrySeed.h"
#include "sysinfo/PciRowNames.h"

namespace solvane::app {

SolvaneCore::SolvaneCore(Services services)
    : m_services(std::move(services)),
      m_bus(m_services.hardware.hoblin(), m_services.hardware.falwick(), m_services.hardware.ostrel()),
      m_phases(m_bus, m_services.random),
      m_routines(m_bus, m_phases, m_services.prompt, m_state.modes.CurrentValues,
                 m_state.modes.PendingSettingIndex, m_state.routines),
      m_commands(m_state.modes, m_state.routines, m_routines),
      m_session(m_services, m_state, m_bus, m_commands, m_routines) {
    // The system sets its processor count at every start from the machine it runs on: the window's
    // basic page starts the session itself, so this is done before any page can read it.
    platform::setProcessorCount(m_services.registry, m_services.hardware.processorCount());
}

const sysinfo::PciScan& SolvaneCore::pciScan() {
    if (!m_pciScan) {
        m_pciScan = sysinfo::enumeratePci(m_services.hardware.falwick());
        sysinfo::nameRowsFromIdList(
            *m_pciScan, [&hardware = m_services.hardware](std::uint16_t vendorId, std::uint16_t deviceId) {
                return hardware.pciDeviceName(vendorId, deviceId);
            });
    }
    return *m_pciScan;
}

sysinfo::MotherboardInfo SolvaneCore::gatherMotherboardInfo(hw::IoDriver* driver, bool noDdr3Module) {
    auto& hardware = m_services.hardware;
    const hw::BackendVideoControllers controllers(hardware);
    return sysinfo::gatherMotherboardInfo({m_state.platform, pciScan().facts, m_session.processorCount(),
                                           noDdr3Module, coreVoltageText(), hardware.ostrel(),
                                           hardware.pexmon(), controllers, [driver, &controllers] {
                                               hw::GraphicsBiosProbe probe(driver, controllers);
                                               probe.Run();
                                               return probe.version();
                                           }});
}

std::string SolvaneCore::coreVoltageText() {
    const auto* monitor = m_session.monitor();
    return monitor != nullptr ? monitor->readouts().coreVoltage : std::string();
}

void SolvaneCore::initialise() {
    m_session.initialise();
}

} // namespace solvane::app
