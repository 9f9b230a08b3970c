#include "sim/SimulatedHardware.h"

#include "sim/NimbrelModule.h"
#include "sim/SimulatedMemoryStatus.h"

namespace solvane::sim {

SimulatedHardware::SimulatedHardware(const SimulationOptions& options) : m_board(options) {
    for (const auto name : {hw::nimbrel::kXpModule, hw::nimbrel::kVistaModule})
        m_modules.add(name, [this, name] { return makeNimbrelModule(m_board, name); });
}

std::string SimulatedHardware::videoControllerName() const {
    return std::string(m_board.graphics().name);
}

std::string SimulatedHardware::videoDriverVersion() const {
    return std::string(m_board.graphics().driverVersion);
}

platform::MemoryStatus SimulatedHardware::memoryStatus() {
    return simulatedMemoryStatus(m_board.modules());
}

unsigned SimulatedHardware::processorCount() const {
    const auto* processor = m_board.model().processor;
    return processor != nullptr ? static_cast<unsigned>(processor->threads) : 1U;
}

std::unique_ptr<hw::Hardware> createSimulatedHardware(const SimulationOptions& options) {
    return std::make_unique<SimulatedHardware>(options);
}

} // namespace solvane::sim
