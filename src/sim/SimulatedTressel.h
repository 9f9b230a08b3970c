#pragma once

#include "hw/HardwareLibraries.h"
#include "sim/SimulatedBoard.h"

namespace solvane::sim {

// The CPU-usage library on a simulated board. TresselInit returns 0 when it is ready and an error code
// otherwise (87, invalid parameter, for a processor count below one): the program shows any non-zero
// result as "CPU Usage error(%d)!" and closes.
class SimulatedTressel final : public hw::Tressel {
public:
    static constexpr int kInvalidParameter = 87;

    explicit SimulatedTressel(SimulatedBoard& board) : m_board(board) {}
    int TresselInit(int processorCount) override;
    std::optional<double> CpuUsage() override { return m_board.cpuLoad(); }
    std::optional<double> CpuClock() override { return m_board.physics().clock; }

private:
    SimulatedBoard& m_board;
};

} // namespace solvane::sim
