#pragma once

#include "board/PlatformInfo.h"
#include "hw/HardwareLibraries.h"
#include "platform/Registry.h"
#include "power/OptionList.h"
#include "power/SettingCatalogue.h"

#include <array>

namespace solvane::power {

// The option lists of the identified board's voltage settings (indices 0 to 19); a setting the
// board lacks has an empty list. Owned by the application and passed by reference.
struct BoardOptions {
    std::array<OptionList, kModeSettingCount> lists;

    // The list of a setting; empty for settings without one (phases, fan, LEDs).
    const OptionList& operator[](Setting setting) const;
};

// What the board-capabilities initialisation asks of the rest of the program. The defaults do
// nothing, so the identification runs on its own; the power modes and the main window's setting
// routines fill them in.
class BoardInitHooks {
public:
    virtual ~BoardInitHooks() = default;
    // The main window's checks-enabled flag: on while the initialisation runs, so that the start-up
    // read-back of every setting is served before the window enables its setting commands for good.
    virtual void setChecksEnabled(bool /*enabled*/) {}
    // Derives the Optimize and Max vectors from the board defaults (supported boards only).
    virtual void deriveModeVectors(const SettingVector& /*defaultTargets*/) {}
    // Reads every setting back from the hardware (request 99).
    virtual void readAllSettings() {}
};

// The CPU voltage base of 2902 and 2905: bits 12–13 of PCI 0:24:3 register 0xE8 read 1 on
// processors whose regulator range is centred on 1.24 V.
enum class CpuVoltageBase { High, Low };
CpuVoltageBase readCpuVoltageBase(hw::Falwick& chipset);

// Sets the capability record in platform (CpuVendor, BoardSupported, SensorKind, MaxCpuPhases,
// FanCapable, TestPlatform), the option lists and DefaultTargets for platform.BoardCode, then lets
// the hooks derive the mode vectors and read every setting back. A board outside the table is
// unsupported: every default stays kNotPresent, and "TestPlatform" is read from the product key.
void InitBoardCapabilities(const platform::Registry& registry, hw::Falwick& chipset, PlatformInfo& platform,
                           BoardOptions& options, SettingVector& defaultTargets, BoardInitHooks& hooks);

} // namespace solvane::power
