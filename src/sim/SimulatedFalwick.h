#pragma once

#include "hw/HardwareLibraries.h"
#include "sim/SimulatedBoard.h"

namespace solvane::sim {

// The second SMBus path, the I/O ports and PCI configuration space on a simulated board. The library is
// loaded by the power-saving library's LoadFalwick.
class SimulatedFalwick final : public hw::Falwick {
public:
    explicit SimulatedFalwick(SimulatedBoard& board) : m_board(board) {}
    std::uint8_t Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;
    std::uint8_t BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) override;
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t data, std::uint8_t readFlag) override;

private:
    SimulatedBoard& m_board;
};

} // namespace solvane::sim
