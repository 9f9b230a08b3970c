#pragma once

#include "hw/BoardBus.h"
#include "platform/Random.h"

#include <optional>
#include <string>

namespace solvane::hw {

// What the phase routines need to know about the board they run on.
struct BoardIdentity {
    int boardCode = 0;
    std::string baseboardVersion; // the baseboard version text from SMBIOS, e.g. "6.0"

    // Later revisions of 2904 moved the phase switch from Super I/O to chipset ports.
    bool versionHasSix() const { return baseboardVersion.find("6.") != std::string::npos; }
};

struct CpuPhaseReading {
    // Selectable values including 0 (automatic); at least 1.
    int levelCount = 1;
    // The CPU_PHASE value read; empty where the board reports nothing (the setting keeps its value).
    std::optional<int> cpuPhase;
    // The phases at work as the regulator controller counts them; empty where the board does not say.
    std::optional<int> activePhases;
};

// Reads and selects the number of active CPU power phases, each board its own way: regulator
// controllers on the SMBus, Super I/O registers, chipset ports or a northbridge PCI register.
// A value of 0 means the regulator chooses (automatic); n >= 1 selects the n-th fixed option.
class CpuPhaseControl {
public:
    CpuPhaseControl(BoardBus& bus, platform::RandomSource& random);

    CpuPhaseReading read(const BoardIdentity& board);
    // Returns the CPU_PHASE_LED value the write implies, on the boards whose phase switch also
    // drives that LED.
    std::optional<int> write(const BoardIdentity& board, int value);
    // Selects a level on a board whose regulator takes a level pattern (2917, 2916, 2915, 2910);
    // false on any other board, which is left untouched.
    static bool writeRegulatorLevel(BoardBus& bus, int boardCode, int value);

private:
    BoardBus& m_bus;
    platform::RandomSource& m_random;
};

} // namespace solvane::hw
