#pragma once

#include "hw/Hardware.h"
#include "sim/SimulatedBoard.h"
#include "sim/SimulatedFalwick.h"
#include "sim/SimulatedHoblin.h"
#include "sim/SimulatedOstrel.h"
#include "sim/SimulatedPexmon.h"
#include "sim/SimulatedTressel.h"

#include <memory>

namespace solvane::sim {

// The simulated back-end: one simulated board behind the six hardware libraries and the I/O driver's
// machine access.
class SimulatedHardware final : public hw::Hardware {
public:
    // Throws std::invalid_argument for options that name no board that can be simulated.
    explicit SimulatedHardware(const SimulationOptions& options);

    hw::Hoblin& hoblin() override { return m_hoblin; }
    hw::Falwick& falwick() override { return m_falwick; }
    hw::Ostrel& ostrel() override { return m_ostrel; }
    hw::Pexmon& pexmon() override { return m_pexmon; }
    hw::Tressel& tressel() override { return m_tressel; }
    platform::ModuleLoader& modules() override { return m_modules; }
    hw::MachineAccess& machine() override { return m_board.machine(); }
    std::string videoControllerName() const override;
    std::string videoDriverVersion() const override;
    std::string description() const override { return m_board.description(); }
    platform::MemoryStatus memoryStatus() override;
    // The logical processors the simulated processor gives its operating system.
    unsigned processorCount() const override;

    SimulatedBoard& board() { return m_board; }
    // The catalogue serving "Nimbrel_xp.dll" and "Nimbrel_vista.dll"; a test removes a module here.
    platform::ModuleCatalog& moduleCatalog() { return m_modules; }

private:
    SimulatedBoard m_board;
    SimulatedHoblin m_hoblin{m_board};
    SimulatedFalwick m_falwick{m_board};
    SimulatedOstrel m_ostrel{m_board};
    SimulatedPexmon m_pexmon{m_board};
    SimulatedTressel m_tressel{m_board};
    platform::ModuleCatalog m_modules;
};

// The default hardware back-end: a simulated board chosen by the options.
std::unique_ptr<hw::Hardware> createSimulatedHardware(const SimulationOptions& options);

} // namespace solvane::sim
