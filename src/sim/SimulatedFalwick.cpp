#include "sim/SimulatedFalwick.h"

namespace solvane::sim {

std::uint8_t SimulatedFalwick::Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) {
    return m_board.smbus(BusAccess::FalwickSmbus, address, reg, data);
}

std::uint8_t SimulatedFalwick::BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) {
    return m_board.ioPort(port, data, readFlag != kWrite);
}

std::uint32_t SimulatedFalwick::PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                       std::uint8_t reg, std::uint32_t data, std::uint8_t readFlag) {
    return m_board.pci(bus, device, function, reg, data, readFlag != kWrite);
}

} // namespace solvane::sim
