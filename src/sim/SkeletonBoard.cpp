#include "sim/SkeletonBoard.h"

#include "sim/BoardModel.h"
#include "sim/PciTopology.h"

namespace solvane::sim {

void addBaseDevices(SimulatedMachine& machine) {
    installPciTopology(machine, *findBoardModel(2918), optionCard(GraphicsVendor::Nvidia));
}

} // namespace solvane::sim
