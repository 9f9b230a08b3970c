#pragma once

#include "sim/SimulatedHardware.h"
#include "sim/physics/ScriptedCpuLoad.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace solvane::sim::test {

// A clock the test moves by hand.
struct ManualClock {
    std::chrono::milliseconds now{0};
    void advance(std::chrono::milliseconds step) { now += step; }
};

// Options for a board under a fixed load, on a manual clock, without sensor noise, keeping nothing.
inline SimulationOptions testOptions(int boardCode, ManualClock& clock, double load = 0.3) {
    SimulationOptions options;
    options.boardCode = boardCode;
    options.cpuLoad = std::make_shared<ScriptedCpuLoad>(std::vector<double>{load});
    options.clock = [&clock] { return clock.now; };
    options.sensorNoise = false;
    return options;
}

// Runs the libraries' load sequence as the program does: the power-saving module's LoadOstrel and
// LoadFalwick, then LoadNTHoblin.
inline void loadLibraries(SimulatedHardware& hardware) {
    const auto module = hardware.modules().load(hw::nimbrel::kVistaModule);
    (*module->find<hw::nimbrel::LoadFunction>(hw::nimbrel::kLoadOstrel))();
    (*module->find<hw::nimbrel::LoadFunction>(hw::nimbrel::kLoadFalwick))();
    hardware.hoblin().LoadNTHoblin();
}

// Every board that can be simulated, for parameterised tests.
inline std::vector<int> allBoardCodes() {
    std::vector<int> codes;
    for (const auto& board : boardModels())
        codes.push_back(board.code);
    return codes;
}

inline std::string boardName(const testing::TestParamInfo<int>& info) {
    return info.param == 0 ? std::string("OtherMaker") : "KX" + std::to_string(info.param);
}

} // namespace solvane::sim::test
