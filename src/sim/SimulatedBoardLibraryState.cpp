// What the power-saving library keeps of the operating system's controls: the power plan, clock
// throttling and whether the SATA ports without a drive are powered.
#include "sim/PowerPlans.h"
#include "sim/SimulatedBoard.h"

namespace solvane::sim {

int SimulatedBoard::setPowerMode(int mode) {
    if (!findPowerPlan(mode))
        return 0;
    m_powerMode = mode;
    return 1;
}

int SimulatedBoard::setThrottling(int state) {
    if (!findThrottleState(state))
        return 0;
    m_throttling = state;
    return 1;
}

int SimulatedBoard::enableSata() {
    m_sataEnabled = true;
    return 1;
}

int SimulatedBoard::disableSata() {
    m_sataEnabled = false;
    return 1;
}

} // namespace solvane::sim
