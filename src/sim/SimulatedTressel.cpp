#include "sim/SimulatedTressel.h"

namespace solvane::sim {

int SimulatedTressel::TresselInit(int processorCount) {
    if (const int error = m_board.options().faults.tresselError; error != 0)
        return error;
    return processorCount >= 1 ? 0 : kInvalidParameter;
}

} // namespace solvane::sim
