#pragma once

#include "hw/BoardSettingRoutines.h"
#include "support/FakeRegisters.h"

#include <gtest/gtest.h>

namespace solvane::hw {

// The board routines over plain register files, with checks enabled and every setting absent.
class BoardSettingRoutinesTest : public ::testing::Test {
protected:
    BoardSettingRoutinesTest()
        : bus(registers, registers, registers), phases(bus, random),
          routines(bus, phases, prompt, values, pending, state) {
        values = notPresentVector();
        state.checksEnabled = true;
        board(2917);
    }

    void board(int code, std::string version = "1.0", int maxPhases = 6) {
        routines.setBoard({code, std::move(version)}, maxPhases);
    }
    SettingValue& at(Setting setting) { return values[static_cast<std::size_t>(setting)]; }
    void apply(Setting setting, SettingValue v) {
        at(setting) = v;
        routines.Apply(indexOf(setting));
    }

    test::FakeRegisters registers;
    platform::ScriptedRandom random;
    platform::ScriptedPrompt prompt;
    BoardBus bus;
    CpuPhaseControl phases;
    SettingVector values{};
    int pending = -1;
    SettingRoutineState state;
    BoardSettingRoutines routines;
};

} // namespace solvane::hw
