#include "sim/SimulatedOstrel.h"

#include <algorithm>

namespace solvane::sim {

std::uint8_t SimulatedOstrel::Get_EFERs(std::uint16_t configPort, std::uint8_t logicalDevice,
                                        std::uint8_t reg, std::uint8_t data, std::uint8_t readFlag) {
    return m_board.superIo(configPort, logicalDevice, reg, data, readFlag != 0);
}

std::uint8_t SimulatedOstrel::GetCmosAddressByte(std::uint8_t reg, std::uint16_t indexPort) {
    return m_board.readCmos(reg, indexPort);
}

void SimulatedOstrel::WriteCmosAddressByte(std::uint8_t reg, std::uint8_t value, std::uint16_t indexPort) {
    m_board.writeCmos(reg, value, indexPort);
}

void SimulatedOstrel::FanControl(std::uint8_t reg, std::uint8_t duty, int) {
    m_board.fanControl(reg, duty);
}

std::uint32_t SimulatedOstrel::GetDMILength(std::uint32_t* length) {
    const auto size = m_board.isLoaded(SimulatedBoard::Library::Ostrel)
                          ? static_cast<std::uint32_t>(m_board.smbiosTable().size())
                          : 0U;
    if (length)
        *length = size;
    return size;
}

bool SimulatedOstrel::GetDMIData(std::uint8_t* buffer, std::uint32_t size) {
    const auto& table = m_board.smbiosTable();
    if (!buffer || !m_board.isLoaded(SimulatedBoard::Library::Ostrel) || table.empty())
        return false;
    std::copy_n(table.begin(), std::min<std::size_t>(size, table.size()), buffer);
    return true;
}

} // namespace solvane::sim
