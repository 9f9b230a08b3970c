#include "sim/boards/SkeletonBoard.h"

#include "sim/PciTopology.h"
#include "sim/boards/BoardModel.h"

namespace solvane::sim {

void addBaseDevices(SimulatedMachine& machine) {
    installPciTopology(machine, *findBoardModel(2918), optionCard(GraphicsVendor::Nvidia));
}

} // namespace solvane::sim
