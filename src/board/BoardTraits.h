#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace solvane::board {

// How the board's own CPU phase routine switches phases when no regulator level pattern serves it.
enum class PhaseSwitch : std::uint8_t {
    None,              // no routine of its own (the pattern regulators, or no phase control)
    ControllerLevels,  // level table on the controller at SMBus 0x30/0x31 (2912)
    SuperIoLevels,     // Super I/O register 0x81 holds the level (2911, 2907)
    NorthbridgeSwitch, // a northbridge bit turns automatic phases off (2903, 2902, 2905)
    SuperIoPin,        // Super I/O 0xD0/0xD1 bit 0, or port pins on revision 6 (2904, 2901)
    SuperIoCount,      // Super I/O 0xC2 reports the phase count (2909)
    FalwickSwitch,     // the controller at 0x30/0x31 on the second SMBus path (2906)
};

// How the CPU phase LED is driven when the register rows do not serve it.
enum class PhaseLed : std::uint8_t {
    Rows,           // the setting's register rows
    ToggledOnWrite, // every write of Super I/O 0xD1 toggles the LED (2911, 2907)
    StrapSelected,  // a strap on port 0x48F picks Super I/O or port pins (2904)
};

// How "ALL_LED" is written when no regulator level pattern serves it.
enum class AllLedPath : std::uint8_t {
    None,
    LedController, // every LED switch at once, through the LED controller at 0x3C and 0x34 (2915)
    SuperIoF1,     // Super I/O 0xF1, memory and northbridge LEDs keeping their own switches (2911)
    Smbus36,       // bits 4 and 6 of SMBus 0x36 register 0x01 (2910)
};

// The rows and panels of the basic page.
enum class BasicLayout : std::uint8_t {
    Full,
    CpuRowsOnly,       // only the CPU's core voltage, temperature, fan and phase rows (2912, 2907)
    NoBridgePhaseRows, // no memory or IOH phase rows (2910, 2902, 2905, 2901, 2904)
    NoPanels,          // no totals and no panels (2909, 2908)
};

// Which page buttons the main window offers beside the basic page.
enum class PageButtons : std::uint8_t {
    All,
    NoSettingsPages,  // no memory, PCI or setting pages; the setting buttons disabled (2918)
    PciInMemoryPlace, // no memory page; the PCI button takes the memory button's place (2906, 2904, 2903)
    InformationOnly,  // no memory, PCI, advanced, motherboard or LED pages (2909, 2908)
};

// How the power monitor holds the CPU regulator to a mode's phase level.
enum class LoadRuleRegulator : std::uint8_t {
    None,
    LevelPattern,  // the regulator at SMBus 0x32 takes the level patterns (2917, 2916)
    OwnPhaseWrite, // forced to the same level through the board's own phase write (2915, 2910)
};

// The per-board facts beyond the capability table: each field names a way the board differs from the
// rest, false or None where it does not. Every layer asks for these instead of comparing board codes.
//   code                   the four-digit board code
//   phaseSwitch            the board's own CPU phase routine
//   switchedPhaseLevels    phase levels behind a northbridge switch
//   cpuPhaseIsSwitch       the CPU phase setting is an on/off switch ("Auto", "Disable") on the pages
//   switchOffShowsPhases   with that switch at 0 the advanced page still shows the phase count
//   revisionSixVariant     a baseboard version containing "6." moves the phase switch and the CPU phase
//                          LED to port pins, and the core voltage reads 9 % low
//   revisionFiveWithoutLeds  baseboard version "5.0" has no LED page
//   revisionModelNames     the model name follows the baseboard revision (several names in the table)
//   phaseLed, allLedPath   the LED routines of their own
//   lowPowerPhaseLimits    fewer phases are refused at a much lower CPU power (tenths of a watt)
//   temperatureBufferMonitor  the board temperature comes from the temperature buffer and the advanced
//                          page shows no saving figures
//   amdRailMonitor         the AMD rail monitor at SMBus 0x5D gives the 5 V and 12 V rails and the CPU
//                          current and power come from its own formulas (with sensor kind 100)
//   rail33InFirstSlot      the 3.3 V rail sits in sensor slot 0 (with sensor kind 100)
//   cpuPowerFromSense      the CPU power is sensor slot 6 itself, not volts times amperes
//   loadRuleRegulator      how a mode's phase level reaches the regulator
//   noPhaseLoadMessage     the phase count the board reports is never compared with the recorded one
//   basicLayout, pageButtons  what the basic page and the main window show
//   noModeButtons          the basic page has no mode buttons
//   ownPciSlotPictures     the LED page's PCI slot switch has pictures of its own
//   v7BiosDropsPhaseLeds   a BIOS version with "V7" removes the phase LED switches
//   memoryPhaseWithoutTwo  the memory phase list has no two-phase option
//   enabledByDefault       the power-saving mode starts enabled when the registry does not say
struct BoardTraits {
    int code = 0;
    PhaseSwitch phaseSwitch = PhaseSwitch::None;
    int switchedPhaseLevels = 0;
    bool cpuPhaseIsSwitch = false;
    bool switchOffShowsPhases = false;
    bool revisionSixVariant = false;
    bool revisionFiveWithoutLeds = false;
    bool revisionModelNames = false;
    PhaseLed phaseLed = PhaseLed::Rows;
    AllLedPath allLedPath = AllLedPath::None;
    bool lowPowerPhaseLimits = false;
    bool temperatureBufferMonitor = false;
    bool amdRailMonitor = false;
    bool rail33InFirstSlot = false;
    bool cpuPowerFromSense = false;
    LoadRuleRegulator loadRuleRegulator = LoadRuleRegulator::None;
    bool noPhaseLoadMessage = false;
    BasicLayout basicLayout = BasicLayout::Full;
    bool noModeButtons = false;
    PageButtons pageButtons = PageButtons::All;
    bool ownPciSlotPictures = false;
    bool v7BiosDropsPhaseLeds = false;
    bool memoryPhaseWithoutTwo = false;
    bool enabledByDefault = false;
};

// The sixteen supported boards; a board not listed here has no trait.
// clang-format off
inline constexpr std::array<BoardTraits, 16> kBoardTraits = {{
    {.code = 2918, .pageButtons = PageButtons::NoSettingsPages},
    {.code = 2917, .loadRuleRegulator = LoadRuleRegulator::LevelPattern},
    {.code = 2916, .loadRuleRegulator = LoadRuleRegulator::LevelPattern, .v7BiosDropsPhaseLeds = true},
    {.code = 2915, .allLedPath = AllLedPath::LedController,
     .loadRuleRegulator = LoadRuleRegulator::OwnPhaseWrite, .ownPciSlotPictures = true,
     .memoryPhaseWithoutTwo = true},
    {.code = 2912, .phaseSwitch = PhaseSwitch::ControllerLevels, .lowPowerPhaseLimits = true,
     .cpuPowerFromSense = true, .basicLayout = BasicLayout::CpuRowsOnly},
    {.code = 2911, .phaseSwitch = PhaseSwitch::SuperIoLevels, .phaseLed = PhaseLed::ToggledOnWrite,
     .allLedPath = AllLedPath::SuperIoF1, .amdRailMonitor = true, .enabledByDefault = true},
    {.code = 2910, .allLedPath = AllLedPath::Smbus36, .rail33InFirstSlot = true,
     .loadRuleRegulator = LoadRuleRegulator::OwnPhaseWrite, .basicLayout = BasicLayout::NoBridgePhaseRows},
    {.code = 2909, .phaseSwitch = PhaseSwitch::SuperIoCount, .noPhaseLoadMessage = true,
     .basicLayout = BasicLayout::NoPanels, .noModeButtons = true, .pageButtons = PageButtons::InformationOnly},
    {.code = 2908, .basicLayout = BasicLayout::NoPanels, .noModeButtons = true,
     .pageButtons = PageButtons::InformationOnly},
    {.code = 2907, .phaseSwitch = PhaseSwitch::SuperIoLevels, .phaseLed = PhaseLed::ToggledOnWrite,
     .basicLayout = BasicLayout::CpuRowsOnly},
    {.code = 2906, .phaseSwitch = PhaseSwitch::FalwickSwitch, .cpuPhaseIsSwitch = true,
     .switchOffShowsPhases = true, .temperatureBufferMonitor = true,
     .pageButtons = PageButtons::PciInMemoryPlace},
    {.code = 2905, .phaseSwitch = PhaseSwitch::NorthbridgeSwitch, .switchedPhaseLevels = 4,
     .temperatureBufferMonitor = true, .basicLayout = BasicLayout::NoBridgePhaseRows},
    {.code = 2904, .phaseSwitch = PhaseSwitch::SuperIoPin, .cpuPhaseIsSwitch = true,
     .revisionSixVariant = true, .revisionFiveWithoutLeds = true, .revisionModelNames = true,
     .phaseLed = PhaseLed::StrapSelected, .temperatureBufferMonitor = true,
     .basicLayout = BasicLayout::NoBridgePhaseRows, .noModeButtons = true,
     .pageButtons = PageButtons::PciInMemoryPlace},
    {.code = 2903, .phaseSwitch = PhaseSwitch::NorthbridgeSwitch, .switchedPhaseLevels = 2,
     .temperatureBufferMonitor = true, .pageButtons = PageButtons::PciInMemoryPlace},
    {.code = 2902, .phaseSwitch = PhaseSwitch::NorthbridgeSwitch, .switchedPhaseLevels = 4,
     .temperatureBufferMonitor = true, .basicLayout = BasicLayout::NoBridgePhaseRows},
    {.code = 2901, .phaseSwitch = PhaseSwitch::SuperIoPin, .cpuPhaseIsSwitch = true,
     .basicLayout = BasicLayout::NoBridgePhaseRows},
}};
// clang-format on

// The record of any board the table does not hold: no trait.
inline constexpr BoardTraits kNoTraits{};

// The traits of a board: its row, or kNoTraits for any other code.
constexpr const BoardTraits& traitsOf(int code) {
    const auto* found = std::find_if(kBoardTraits.begin(), kBoardTraits.end(),
                                     [code](const BoardTraits& row) { return row.code == code; });
    return found == kBoardTraits.end() ? kNoTraits : *found;
}

// The traits of the board whose four-digit code text is exactly codeText; kNoTraits for any other.
const BoardTraits& traitsOfText(std::string_view codeText);

// Whether the four digits of a board code appear in text.
bool digitsIn(std::string_view text, int code);

// Whether a board with the trait (a bool member or a predicate) has its four digits in text (the SMBIOS board
// string, or a board code's decimal text). Some decisions recognise a board by this search rather than by its
// exact code.
template <typename Has> bool foundWith(std::string_view text, Has has) {
    return std::any_of(kBoardTraits.begin(), kBoardTraits.end(), [&](const BoardTraits& row) {
        return std::invoke(has, row) && digitsIn(text, row.code);
    });
}
template <typename Has> bool foundWith(int code, Has has) {
    return foundWith(std::to_string(code), has);
}

namespace detail {

constexpr bool traitsAreSound() {
    for (std::size_t i = 0; i < kBoardTraits.size(); ++i) {
        const auto& row = kBoardTraits[i];
        if (row.code < 2901 || row.code > 2918)
            return false;
        for (std::size_t j = i + 1; j < kBoardTraits.size(); ++j)
            if (kBoardTraits[j].code == row.code)
                return false;
        // Only a northbridge switch has a level count of its own.
        if ((row.phaseSwitch == PhaseSwitch::NorthbridgeSwitch) != (row.switchedPhaseLevels > 0))
            return false;
        if (row.switchOffShowsPhases && !row.cpuPhaseIsSwitch)
            return false;
    }
    return true;
}

} // namespace detail

static_assert(detail::traitsAreSound());

} // namespace solvane::board
