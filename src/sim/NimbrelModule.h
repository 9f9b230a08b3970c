#pragma once

#include "platform/Module.h"
#include "sim/SimulatedBoard.h"

#include <memory>
#include <string_view>

namespace solvane::sim {

// The power-saving library ("Nimbrel_xp.dll" or "Nimbrel_vista.dll") of a simulated board: its entry
// points by name, less those the options take away. The module refers to the board, which must
// outlive it.
std::shared_ptr<const platform::Module> makeNimbrelModule(SimulatedBoard& board, std::string_view fileName);

} // namespace solvane::sim
