#pragma once

#include "hw/BoardBus.h"
#include "hw/CpuPhaseControl.h"
#include "hw/Setting.h"
#include "hw/SettingRegisterMap.h"
#include "hw/SettingRoutineState.h"
#include "platform/Prompt.h"

namespace solvane::hw {

// The main window's routines that turn a setting value into register writes on the identified
// board, read the registers back into the value vector, and guard risky changes.
class BoardSettingRoutines {
public:
    // values is CurrentValues; pendingSettingIndex the argument slot of the write command.
    BoardSettingRoutines(BoardBus& bus, CpuPhaseControl& phases, platform::Prompt& prompt,
                         SettingVector& values, int& pendingSettingIndex, SettingRoutineState& state);

    void setBoard(const BoardIdentity& board, int maxCpuPhases);

    // Writes values[k] to the board, then reads the setting back.
    void Apply(int k);
    // Reads setting k (or every setting for kReadAllSettings) from the board into values.
    void ReadBack(int k);
    // Checks the value just picked in the option popup (stability, CPU load), then writes it.
    void CheckAndApply(int k);

private:
    SettingValue& value(Setting setting) { return m_values[static_cast<std::size_t>(setting)]; }

    void writeRows(Setting setting, SettingValue v);
    void writeCode(const CodeRow& row, SettingValue v);
    void writeBit(const BitRow& row, SettingValue v);
    void writeNibble(Setting setting, SettingValue v);
    void writeAllLed(SettingValue v);
    void writeCpuPhaseLed(SettingValue v);

    void readSetting(Setting setting);
    void readCode(const CodeRow& row);
    void readPhase(const PhaseReadRow& row);
    void readLed(const BitRow& row);
    void readCpuPhaseLed();
    // The nibble voltages of 2902 and 2905; false for settings that are not one of them.
    bool readNibble(Setting setting);

    bool confirmStable(int k, SettingValue v);
    bool refusedForLoad(SettingValue v) const;

    // On 2904 the CPU phase LED sits on Super I/O or on chipset ports, by board revision.
    enum class LedPath2904 { SuperIo, Ports, None };
    LedPath2904 ledPath2904();

    BoardBus& m_bus;
    CpuPhaseControl& m_phases;
    platform::Prompt& m_prompt;
    SettingVector& m_values;
    int& m_pendingSettingIndex;
    SettingRoutineState& m_state;
    BoardIdentity m_board;
    int m_maxCpuPhases = 0;
};

} // namespace solvane::hw
