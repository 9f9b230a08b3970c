#include "sim/SimulatedHoblin.h"

namespace solvane::sim {

int SimulatedHoblin::LoadNTHoblin() {
    const bool ready = !m_board.options().faults.hoblinLoadFails;
    m_board.setLoaded(SimulatedBoard::Library::Hoblin, ready);
    return ready ? 1 : 0;
}

void SimulatedHoblin::UnloadNTHoblin() {
    m_board.setLoaded(SimulatedBoard::Library::Hoblin, false);
}

std::uint8_t SimulatedHoblin::Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) {
    return m_board.smbus(BusAccess::HoblinSmbus, address, reg, data);
}

} // namespace solvane::sim
