#pragma once

#include "hw/HardwareLibraries.h"
#include "sim/SimulatedBoard.h"

namespace solvane::sim {

// Super I/O, CMOS, the firmware fan registers and the SMBIOS tables on a simulated board. The library
// is loaded by the power-saving library's LoadOstrel.
class SimulatedOstrel final : public hw::Ostrel {
public:
    explicit SimulatedOstrel(SimulatedBoard& board) : m_board(board) {}
    std::uint8_t Get_EFERs(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                           std::uint8_t data, std::uint8_t readFlag) override;
    std::uint8_t GetCmosAddressByte(std::uint8_t reg, std::uint16_t indexPort) override;
    void WriteCmosAddressByte(std::uint8_t reg, std::uint8_t value, std::uint16_t indexPort) override;
    void FanControl(std::uint8_t reg, std::uint8_t duty, int reserved) override;
    std::uint32_t GetDMILength(std::uint32_t* length) override;
    bool GetDMIData(std::uint8_t* buffer, std::uint32_t size) override;

private:
    SimulatedBoard& m_board;
};

} // namespace solvane::sim
