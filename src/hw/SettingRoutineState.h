#pragma once

#include "hw/Setting.h"

#include <array>

namespace solvane::hw {

// The state the board setting routines share with the pages. One per process, owned by the
// application object and passed by reference.
struct SettingRoutineState {
    // Off while the main window builds its pages: setting commands then do nothing. On during the
    // board initialisation's read-back and for good once the option popup exists.
    bool checksEnabled = false;
    // Set while a write runs, so a command sent from within it (a page reacting to the read-back)
    // does nothing.
    bool busy = false;

    // The option popup: the setting whose list is open (-1 none), the setting being edited, and the
    // value it had when the list opened (restored when a change is cancelled or refused).
    int popupOpenIndex = -1;
    int editIndex = -1;
    SettingValue rememberedValue = -1;

    // The last applied CPU phase setting: a refused change falls back to the previous one.
    SettingValue previousPhase = 0;
    SettingValue currentPhase = 0;
    // Active CPU phases for the power monitor: 0 when the phases are automatic, else setting + 1.
    int phaseStep = 0;
    // The CPU phases at work as the regulator last reported them (0: it does not say).
    int activeCpuPhases = 0;

    // Selectable phase values, including automatic, of the phase settings (CPU VTT, CPU, DDR, MCH)
    // as the last read-back found them; at least 1.
    std::array<int, kSettingSlots> levelCounts = filledLevelCounts();

    // The latest CPU power figure of the power monitor, for the load check of a phase change.
    int cpuPower = 0;

    int levelCount(Setting setting) const { return levelCounts[static_cast<std::size_t>(setting)]; }

private:
    static constexpr std::array<int, kSettingSlots> filledLevelCounts() {
        std::array<int, kSettingSlots> counts{};
        counts.fill(1);
        return counts;
    }
};

// The phase step that goes with a CPU phase setting.
constexpr int phaseStepFor(SettingValue cpuPhase) {
    return cpuPhase <= 0 ? 0 : cpuPhase + 1;
}

} // namespace solvane::hw
