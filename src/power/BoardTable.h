#pragma once

#include "power/BoardOptionLists.h"
#include "power/SettingCatalogue.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace solvane::power {

// A voltage setting's option list on a board. lowBaseList, when set, replaces list on a processor
// for which the northbridge reports the lower CPU voltage base (2902, 2905).
struct BoardOptionList {
    Setting setting;
    const OptionListSpec* list;
    const OptionListSpec* lowBaseList = nullptr;
};

// A set of setting slots, one bit per slot.
using SettingMask = std::uint32_t;

constexpr std::size_t slotOf(Setting setting) {
    return static_cast<std::size_t>(indexOf(setting));
}
constexpr SettingMask slotBit(std::size_t slot) {
    return SettingMask{1} << slot;
}
constexpr SettingMask settingBit(Setting setting) {
    return slotBit(slotOf(setting));
}
constexpr SettingMask settingRange(Setting first, Setting last) {
    SettingMask mask = 0;
    for (auto i = slotOf(first); i <= slotOf(last); ++i)
        mask |= slotBit(i);
    return mask;
}

// The two LED switches of board 2915 beyond the catalogue: "CPU Load Line" and "HD LED".
inline constexpr std::size_t kCpuLoadLineLedSlot = 29;
inline constexpr std::size_t kHdLedSlot = 30;
static_assert(kHdLedSlot + 1 == kSettingSlots);

// One supported board.
//   code          the four-digit board code
//   cpuVendor     "Intel" or "AMD": the processor family the board takes
//   maxCpuPhases  CPU regulator phases; 0 where the board does not say
//   sensorKind    passed to GetTemp and DetectSuperIO: 27, 100 or 0
//   fanControl    the firmware fan registers can be driven
//   cpuVttdPhase … smartFan   power-on value of each phase and fan setting, kNotPresent where the board
//                 lacks it; a fixed CPU phase default is the board's full phase count (all phases on)
//   ledSwitches   the LED switches the board has, each defaulting to 0 (LED on, "AUTO")
//   familyLists, boardLists   the voltage option lists (shared by a board family, and the board's own)
struct BoardRecord {
    int code;
    std::string_view cpuVendor;
    int maxCpuPhases;
    int sensorKind;
    bool fanControl;
    SettingValue cpuVttdPhase;
    SettingValue cpuPhase;
    SettingValue ddrPhase;
    SettingValue mchPhase;
    SettingValue smartFan;
    SettingMask ledSwitches;
    std::span<const BoardOptionList> familyLists;
    std::span<const BoardOptionList> boardLists;
};

inline constexpr std::string_view kIntel = "Intel";
inline constexpr std::string_view kAmd = "AMD";

namespace board {

// The lists every SMBus-programmed Intel board has; the three CA and the three DQ references share
// one list each.
inline constexpr std::array<BoardOptionList, 10> kIntelLists = {{
    {Setting::CpuVoltage, &options::kIntelCpuOffset},
    {Setting::VttFsbVoltage, &options::kIntelCpuOffset},
    {Setting::CpuPllVoltage, &options::kIntelPll},
    {Setting::DdrVrefCaA, &options::kIntelVrefCa},
    {Setting::DdrVrefCaB, &options::kIntelVrefCa},
    {Setting::DdrVrefCaC, &options::kIntelVrefCa},
    {Setting::DdrVrefDaA, &options::kIntelVrefDa},
    {Setting::DdrVrefDaB, &options::kIntelVrefDa},
    {Setting::DdrVrefDaC, &options::kIntelVrefDa},
    {Setting::IchVoltage, &options::kIntelIch},
}};
// Northbridge and memory lists differ between the Intel boards.
inline constexpr std::array<BoardOptionList, 2> k2918Lists = {{
    {Setting::MchVoltage, &options::kIntelMchSteps},
    {Setting::DdrVoltage, &options::kIntel2918Ddr},
}};
inline constexpr std::array<BoardOptionList, 2> k2916Lists = {{
    {Setting::MchVoltage, &options::kIntelMchSteps},
    {Setting::DdrVoltage, &options::kIntelDdr},
}};
inline constexpr std::array<BoardOptionList, 2> kOffsetMchLists = {{
    {Setting::MchVoltage, &options::kIntelMchOffset},
    {Setting::DdrVoltage, &options::kIntelDdr},
}};
inline constexpr std::array<BoardOptionList, 4> k2911Lists = {{
    {Setting::CpuVoltage, &options::k2911Cpu},
    {Setting::DdrVoltage, &options::k2911Ddr},
    {Setting::MchVoltage, &options::k2911Mch},
    {Setting::IchVoltage, &options::k2911Ich},
}};
inline constexpr std::array<BoardOptionList, 6> k2902Lists = {{
    {Setting::CpuVoltage, &options::k2902CpuHigh, &options::k2902CpuLow},
    {Setting::VttFsbVoltage, &options::k2902Vtt},
    {Setting::DdrVoltage, &options::k2902Ddr},
    {Setting::DdrVrefCaA, &options::k2902VrefCa},
    {Setting::MchVoltage, &options::k2902Mch},
    {Setting::IchVoltage, &options::k2902Ich},
}};
inline constexpr std::array<BoardOptionList, 3> k2903Lists = {{
    {Setting::CpuPllVoltage, &options::k2903Pll},
    {Setting::DdrVoltage, &options::k2903Ddr},
    {Setting::MchVoltage, &options::k2903Mch},
}};
inline constexpr std::span<const BoardOptionList> kNone;

inline constexpr SettingMask kAllLeds = settingRange(Setting::AllLed, Setting::PcieSlotLed);
inline constexpr SettingMask k2915Leds = kAllLeds | slotBit(kCpuLoadLineLedSlot) | slotBit(kHdLedSlot);
inline constexpr SettingMask k2911Leds = settingBit(Setting::AllLed) | settingBit(Setting::CpuPhaseLed) |
                                         settingBit(Setting::PowerResetLed) |
                                         settingBit(Setting::DdrPhaseLed) | settingBit(Setting::MchPhaseLed);
inline constexpr SettingMask kPhaseLed = settingBit(Setting::CpuPhaseLed);

inline constexpr SettingValue kNo = kNotPresent;

} // namespace board

// The capability table of the supported boards.
// clang-format off
inline constexpr std::array<BoardRecord, 16> kBoardTable = {{
    {.code = 2918, .cpuVendor = kIntel, .maxCpuPhases = 5, .sensorKind = 27, .fanControl = true,
     .cpuVttdPhase = 1, .cpuPhase = 4, .ddrPhase = 1, .mchPhase = 1,
     .smartFan = 0, .ledSwitches = board::kAllLeds,
     .familyLists = board::kIntelLists, .boardLists = board::k2918Lists},
    {.code = 2917, .cpuVendor = kIntel, .maxCpuPhases = 6, .sensorKind = 0, .fanControl = true,
     .cpuVttdPhase = 1, .cpuPhase = 5, .ddrPhase = 1, .mchPhase = 1,
     .smartFan = 0, .ledSwitches = board::kAllLeds,
     .familyLists = board::kIntelLists, .boardLists = board::kOffsetMchLists},
    {.code = 2910, .cpuVendor = kIntel, .maxCpuPhases = 6, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = 1, .cpuPhase = 5, .ddrPhase = 1, .mchPhase = 1,
     .smartFan = 0, .ledSwitches = board::kAllLeds,
     .familyLists = board::kIntelLists, .boardLists = board::kOffsetMchLists},
    {.code = 2916, .cpuVendor = kIntel, .maxCpuPhases = 5, .sensorKind = 0, .fanControl = true,
     .cpuVttdPhase = 1, .cpuPhase = 4, .ddrPhase = 1, .mchPhase = 1,
     .smartFan = 0, .ledSwitches = board::kAllLeds,
     .familyLists = board::kIntelLists, .boardLists = board::k2916Lists},
    {.code = 2915, .cpuVendor = kIntel, .maxCpuPhases = 6, .sensorKind = 0, .fanControl = true,
     .cpuVttdPhase = 1, .cpuPhase = 5, .ddrPhase = 2, .mchPhase = 1,
     .smartFan = 0, .ledSwitches = board::k2915Leds,
     .familyLists = board::kIntelLists, .boardLists = board::kOffsetMchLists},
    {.code = 2904, .cpuVendor = kIntel, .maxCpuPhases = 2, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 1, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::kNone},
    {.code = 2909, .cpuVendor = kIntel, .maxCpuPhases = 0, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = board::kNo, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = 0,
     .familyLists = board::kNone, .boardLists = board::kNone},
    {.code = 2908, .cpuVendor = kIntel, .maxCpuPhases = 0, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = board::kNo, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = 0,
     .familyLists = board::kNone, .boardLists = board::kNone},
    {.code = 2903, .cpuVendor = kAmd, .maxCpuPhases = 2, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 1, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::k2903Lists},
    {.code = 2912, .cpuVendor = kAmd, .maxCpuPhases = 4, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 3, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::kNone},
    {.code = 2907, .cpuVendor = kAmd, .maxCpuPhases = 4, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 3, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::kNone},
    {.code = 2911, .cpuVendor = kAmd, .maxCpuPhases = 4, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 3, .ddrPhase = 1, .mchPhase = 1,
     .smartFan = 0, .ledSwitches = board::k2911Leds,
     .familyLists = board::kNone, .boardLists = board::k2911Lists},
    {.code = 2902, .cpuVendor = kAmd, .maxCpuPhases = 4, .sensorKind = 0, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 3, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::k2902Lists},
    {.code = 2905, .cpuVendor = kAmd, .maxCpuPhases = 4, .sensorKind = 0, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 3, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::k2902Lists},
    {.code = 2906, .cpuVendor = kAmd, .maxCpuPhases = 2, .sensorKind = 100, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 1, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::kNone},
    {.code = 2901, .cpuVendor = kAmd, .maxCpuPhases = 2, .sensorKind = 0, .fanControl = true,
     .cpuVttdPhase = board::kNo, .cpuPhase = 1, .ddrPhase = board::kNo, .mchPhase = board::kNo,
     .smartFan = 0, .ledSwitches = board::kPhaseLed,
     .familyLists = board::kNone, .boardLists = board::kNone},
}};
// clang-format on

// The board's record, or null for a board the table does not hold.
constexpr const BoardRecord* findBoard(int code) {
    const auto found = std::find_if(kBoardTable.begin(), kBoardTable.end(),
                                    [code](const BoardRecord& r) { return r.code == code; });
    return found == kBoardTable.end() ? nullptr : &*found;
}

// The sensor kind of a board code: the table's value, 0 for any board it does not hold. The
// measurement refresh asks again each time before it reads the temperature.
constexpr int sensorKindFor(int boardCode) {
    const auto* board = findBoard(boardCode);
    return board == nullptr ? 0 : board->sensorKind;
}

namespace detail {

constexpr bool isVoltageSetting(Setting setting) {
    constexpr SettingMask kVoltageSettings =
        settingRange(Setting::CpuVoltage, Setting::CpuPllVoltage) | settingBit(Setting::GtlRef1Voltage) |
        settingBit(Setting::GtlRef2Voltage) | settingRange(Setting::DdrVoltage, Setting::DdrVrefDaC) |
        settingBit(Setting::MchVoltage) | settingBit(Setting::NbGtlRef) | settingBit(Setting::IchVoltage);
    return (kVoltageSettings & settingBit(setting)) != 0;
}

constexpr bool listsAreSound(std::span<const BoardOptionList> lists, SettingMask& seen) {
    for (const auto& entry : lists) {
        if (!isVoltageSetting(entry.setting) || entry.list == nullptr || !isValidOptionList(*entry.list) ||
            (seen & settingBit(entry.setting)) != 0)
            return false;
        if (entry.lowBaseList != nullptr &&
            (!isValidOptionList(*entry.lowBaseList) || entry.lowBaseList->size() != entry.list->size() ||
             entry.lowBaseList->defaultIndex != entry.list->defaultIndex))
            return false;
        seen |= settingBit(entry.setting);
    }
    return true;
}

constexpr bool boardTableIsSound() {
    for (std::size_t i = 0; i < kBoardTable.size(); ++i) {
        const auto& board = kBoardTable[i];
        for (std::size_t j = i + 1; j < kBoardTable.size(); ++j)
            if (kBoardTable[j].code == board.code)
                return false;
        if (board.code < 2901 || board.code > 2918 ||
            (board.cpuVendor != kIntel && board.cpuVendor != kAmd) ||
            (board.sensorKind != 0 && board.sensorKind != 27 && board.sensorKind != 100))
            return false;
        // A fixed CPU phase default switches every phase on; a board without a phase count has none.
        if (board.cpuPhase != (board.maxCpuPhases > 0 ? board.maxCpuPhases - 1 : kNotPresent))
            return false;
        if ((board.ledSwitches & ~(settingRange(Setting::AllLed, Setting::PcieSlotLed) |
                                   slotBit(kCpuLoadLineLedSlot) | slotBit(kHdLedSlot))) != 0)
            return false;
        SettingMask seen = 0;
        if (!listsAreSound(board.familyLists, seen) || !listsAreSound(board.boardLists, seen))
            return false;
    }
    return true;
}

} // namespace detail

// GCC cannot fold comparisons of table addresses under AddressSanitizer; the normal build checks.
#ifndef __SANITIZE_ADDRESS__
static_assert(detail::boardTableIsSound());
static_assert(findBoard(2913) == nullptr && findBoard(2914) == nullptr && findBoard(2917)->code == 2917);
#endif

} // namespace solvane::power
