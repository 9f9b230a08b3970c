#pragma once

#include "hw/HardwareLibraries.h"
#include "sim/SimulatedBoard.h"

namespace solvane::sim {

// The SMBus library on a simulated board.
class SimulatedHoblin final : public hw::Hoblin {
public:
    explicit SimulatedHoblin(SimulatedBoard& board) : m_board(board) {}
    int LoadNTHoblin() override;
    void UnloadNTHoblin() override;
    std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;

private:
    SimulatedBoard& m_board;
};

} // namespace solvane::sim
