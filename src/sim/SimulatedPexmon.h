#pragma once

#include "hw/HardwareLibraries.h"
#include "sim/SimulatedBoard.h"

namespace solvane::sim {

// The graphics library on a simulated board. It knows the cards of the graphics makers that ship it:
// it is usable with an NVIDIA or ATI controller, reports the BIOS version of NVIDIA cards only, and
// the driver version of both. With Intel graphics it is not usable.
class SimulatedPexmon final : public hw::Pexmon {
public:
    explicit SimulatedPexmon(SimulatedBoard& board) : m_board(board) {}
    int Init() override;
    void GetVGABIOSVersion(std::string& text) override;
    void GetDriverVersion(std::string& text) override;

private:
    SimulatedBoard& m_board;
    bool m_ready = false;
};

} // namespace solvane::sim
