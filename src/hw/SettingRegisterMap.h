#pragma once

#include "board/BoardSet.h"
#include "hw/CodeLists.h"
#include "hw/Setting.h"

#include <array>
#include <cstdint>
#include <span>

namespace solvane::hw {

// Where each board keeps each setting. A (setting, board) pair without a row has no register and is
// neither written nor read back.

enum class CodeListId { A, B, C, Own };

// A voltage written as a byte of a code list: the byte at the option index (plus offset) goes to
// the register; the read-back searches the list for the byte it finds there.
struct CodeRow {
    Setting setting;
    BoardSet boards;
    std::uint8_t device; // SMBus write address; reads go to device + 1
    std::uint8_t reg;
    CodeListId list;
    int offset = 0;       // 2910 keeps its northbridge codes 15 entries into list C
    bool readBack = true; // DDR_VOLTAGE on 2915 cannot be read back
};

inline constexpr std::array<CodeRow, 26> kCodeRows{{
    {Setting::CpuVoltage, {2918}, 0x64, 1, CodeListId::B},
    {Setting::CpuVoltage, {2917, 2916, 2915, 2910}, 0x60, 1, CodeListId::B},
    {Setting::CpuVoltage, {2911}, 0x60, 1, CodeListId::Own},
    {Setting::CpuVoltage, {2902, 2905}, 0x60, 2, CodeListId::Own},
    {Setting::VttFsbVoltage, {2917, 2915}, 0x6A, 1, CodeListId::B},
    {Setting::VttFsbVoltage, {2916, 2910}, 0x68, 1, CodeListId::B},
    {Setting::VttFsbVoltage, {2902, 2905}, 0x60, 1, CodeListId::Own},
    {Setting::CpuPllVoltage, {2917, 2916, 2915, 2910}, 0x64, 2, CodeListId::A},
    {Setting::DdrVoltage, {2918, 2917, 2916, 2910}, 0x50, 1, CodeListId::C},
    {Setting::DdrVoltage, {2915}, 0x50, 1, CodeListId::C, 0, false},
    {Setting::DdrVoltage, {2911}, 0x50, 1, CodeListId::Own},
    {Setting::DdrVrefCaA, {2917, 2916, 2915, 2910}, 0x62, 1, CodeListId::A},
    {Setting::DdrVrefCaB, {2917, 2916, 2915, 2910}, 0x62, 2, CodeListId::A},
    {Setting::DdrVrefCaC, {2917, 2916, 2915, 2910}, 0x62, 3, CodeListId::A},
    {Setting::DdrVrefDaA, {2917, 2915}, 0x68, 1, CodeListId::A},
    {Setting::DdrVrefDaB, {2917, 2915}, 0x68, 2, CodeListId::A},
    {Setting::DdrVrefDaC, {2917, 2915}, 0x68, 3, CodeListId::A},
    {Setting::DdrVrefDaA, {2916, 2910}, 0x6A, 1, CodeListId::A},
    {Setting::DdrVrefDaB, {2916, 2910}, 0x6A, 2, CodeListId::A},
    {Setting::DdrVrefDaC, {2916, 2910}, 0x6A, 3, CodeListId::A},
    {Setting::MchVoltage, {2917, 2915}, 0x6A, 2, CodeListId::B},
    {Setting::MchVoltage, {2916}, 0x50, 2, CodeListId::C},
    {Setting::MchVoltage, {2910}, 0x50, 2, CodeListId::C, 15},
    {Setting::MchVoltage, {2911}, 0x64, 2, CodeListId::Own},
    {Setting::IchVoltage, {2917, 2916, 2915, 2910}, 0x64, 1, CodeListId::A},
    {Setting::IchVoltage, {2911}, 0x60, 3, CodeListId::Own},
}};

// The own code list of a board's setting (2911, 2902, 2905); empty where the board uses the
// shared lists.
std::span<const std::uint8_t> ownCodeList(int boardCode, Setting setting);
std::span<const std::uint8_t> codeList(CodeListId list, int boardCode, Setting setting);
// The byte a read-back of 0 stands for: the list's entry for "no offset".
std::uint8_t neutralCode(CodeListId list);

// How a switch bit follows the value v: set when the condition holds, cleared otherwise.
enum class BitRule { On, Off, WhenZero, WhenNonZero, WhenOne };

enum class RegisterBus { Smbus, SmbusFalwick, SuperIo };

// A switch: read the register, set or clear the bits of mask by the rule, write it back.
struct BitRow {
    Setting setting;
    BoardSet boards;
    RegisterBus bus;
    std::uint8_t device; // SMBus write address; unused for Super I/O
    std::uint8_t reg;
    std::uint8_t mask;
    BitRule rule;
    bool readBack = true; // the LED read-back follows the same bits with the same polarity
};

inline constexpr std::array<BitRow, 45> kBitRows{{
    // CPU VTT, memory and chipset phases: the bit holds automatic switching on or off.
    {Setting::CpuVttdPhase, {2917}, RegisterBus::Smbus, 0x34, 0x11, 0x08, BitRule::WhenNonZero, false},
    {Setting::CpuVttdPhase, {2915}, RegisterBus::Smbus, 0x3C, 0x11, 0x01, BitRule::WhenNonZero, false},
    {Setting::DdrPhase, {2918}, RegisterBus::Smbus, 0x30, 0x01, 0x40, BitRule::WhenZero, false},
    {Setting::DdrPhase, {2917, 2916, 2910}, RegisterBus::Smbus, 0x32, 0x01, 0x40, BitRule::WhenZero, false},
    {Setting::DdrPhase, {2915}, RegisterBus::Smbus, 0x3C, 0x11, 0x04, BitRule::WhenZero, false},
    {Setting::DdrPhase, {2911}, RegisterBus::SuperIo, 0, 0x81, 0x04, BitRule::WhenZero, false},
    {Setting::MchPhase, {2918}, RegisterBus::Smbus, 0x30, 0x01, 0x20, BitRule::WhenZero, false},
    {Setting::MchPhase, {2917, 2916, 2910}, RegisterBus::Smbus, 0x32, 0x01, 0x20, BitRule::WhenZero, false},
    {Setting::MchPhase, {2915}, RegisterBus::Smbus, 0x34, 0x01, 0x20, BitRule::WhenZero, false},
    {Setting::MchPhase, {2911}, RegisterBus::SuperIo, 0, 0x81, 0x02, BitRule::WhenZero, false},
    // LED switches.
    {Setting::CpuPhaseLed, {2917}, RegisterBus::Smbus, 0x34, 0x11, 0x01, BitRule::WhenZero},
    {Setting::CpuPhaseLed, {2916}, RegisterBus::Smbus, 0x30, 0x11, 0x01, BitRule::WhenZero},
    {Setting::CpuPhaseLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x01, BitRule::WhenZero},
    {Setting::CpuPhaseLed, {2910}, RegisterBus::Smbus, 0x36, 0x01, 0x40, BitRule::WhenZero},
    {Setting::CpuPhaseLed, {2912}, RegisterBus::Smbus, 0x30, 0x11, 0x20, BitRule::WhenOne, false},
    {Setting::CpuPhaseLed, {2906}, RegisterBus::SmbusFalwick, 0x30, 0x11, 0x20, BitRule::WhenZero},
    {Setting::CpuPhaseLed, {2903}, RegisterBus::SuperIo, 0, 0xB0, 0x04, BitRule::On, false},
    {Setting::CpuPhaseLed, {2903}, RegisterBus::SuperIo, 0, 0xB1, 0x04, BitRule::WhenZero},
    {Setting::CpuPhaseLed, {2902, 2905}, RegisterBus::SuperIo, 0, 0xE0, 0x02, BitRule::On, false},
    {Setting::CpuPhaseLed, {2902, 2905}, RegisterBus::SuperIo, 0, 0xE1, 0x08, BitRule::WhenZero},
    {Setting::PowerResetLed, {2917}, RegisterBus::Smbus, 0x34, 0x11, 0x04, BitRule::WhenOne},
    {Setting::PowerResetLed, {2916}, RegisterBus::Smbus, 0x30, 0x11, 0x04, BitRule::WhenOne},
    {Setting::PowerResetLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x40, BitRule::WhenZero},
    {Setting::PowerResetLed, {2911}, RegisterBus::SuperIo, 0, 0xF1, 0x01, BitRule::WhenZero},
    {Setting::PowerResetLed, {2910}, RegisterBus::Smbus, 0x36, 0x01, 0x10, BitRule::WhenOne},
    {Setting::CpuVttdPhaseLed, {2917}, RegisterBus::Smbus, 0x34, 0x01, 0x40, BitRule::WhenZero},
    {Setting::CpuVttdPhaseLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x80, BitRule::WhenZero},
    {Setting::DdrPhaseLed, {2917}, RegisterBus::Smbus, 0x34, 0x01, 0x20, BitRule::WhenOne},
    {Setting::DdrPhaseLed, {2916}, RegisterBus::Smbus, 0x30, 0x01, 0x20, BitRule::WhenOne},
    {Setting::DdrPhaseLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x20, BitRule::WhenZero},
    {Setting::DdrPhaseLed, {2911}, RegisterBus::SuperIo, 0, 0xF1, 0x02, BitRule::WhenZero},
    {Setting::MchPhaseLed, {2917}, RegisterBus::Smbus, 0x34, 0x01, 0x10, BitRule::WhenZero},
    {Setting::MchPhaseLed, {2916}, RegisterBus::Smbus, 0x30, 0x01, 0x10, BitRule::WhenOne},
    {Setting::MchPhaseLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x10, BitRule::WhenZero},
    {Setting::MchPhaseLed, {2911}, RegisterBus::SuperIo, 0, 0xF1, 0x04, BitRule::WhenZero},
    {Setting::S0S3Led, {2917}, RegisterBus::Smbus, 0x34, 0x01, 0x08, BitRule::WhenZero},
    {Setting::S0S3Led, {2916}, RegisterBus::Smbus, 0x30, 0x01, 0x08, BitRule::WhenZero},
    {Setting::S0S3Led, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x08, BitRule::WhenZero},
    {Setting::PciSlotLed, {2917}, RegisterBus::Smbus, 0x34, 0x01, 0x01, BitRule::WhenOne},
    {Setting::PciSlotLed, {2916}, RegisterBus::Smbus, 0x30, 0x01, 0x01, BitRule::WhenOne},
    {Setting::PciSlotLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x02, BitRule::WhenZero},
    {Setting::PcieSlotLed, {2917}, RegisterBus::Smbus, 0x34, 0x01, 0x06, BitRule::WhenOne},
    {Setting::PcieSlotLed, {2916}, RegisterBus::Smbus, 0x30, 0x01, 0x06, BitRule::WhenOne},
    {Setting::CpuLoadLineLed, {2915}, RegisterBus::Smbus, 0x34, 0x01, 0x10, BitRule::WhenZero},
    {Setting::HdLed, {2915}, RegisterBus::Smbus, 0x3C, 0x01, 0x04, BitRule::WhenZero},
}};

// The phase settings 3, 14 and 17 read back whether the board holds a fixed phase count and how
// many levels it offers. The fixed state is one bit (set or clear, by row); the level count is
// countWhenSet when the count bit is set, else 1. The setting is 0 (automatic) while the fixed
// state is off, else the level count - 1.
struct PhaseReadRow {
    Setting setting;
    BoardSet boards;
    RegisterBus bus;
    std::uint8_t device; // SMBus read address
    std::uint8_t stateReg;
    int stateBit;
    bool fixedWhenSet;
    std::uint8_t countReg;
    int countBit;
    int countWhenSet;
};

inline constexpr std::array<PhaseReadRow, 10> kPhaseReadRows{{
    {Setting::CpuVttdPhase, {2917}, RegisterBus::Smbus, 0x35, 0x11, 3, true, 0x10, 4, 2},
    {Setting::CpuVttdPhase, {2915}, RegisterBus::Smbus, 0x3D, 0x11, 0, true, 0x10, 3, 2},
    {Setting::DdrPhase, {2918}, RegisterBus::Smbus, 0x31, 0x01, 6, false, 0x10, 5, 2},
    {Setting::DdrPhase, {2917, 2916}, RegisterBus::Smbus, 0x33, 0x01, 6, false, 0x10, 5, 2},
    {Setting::DdrPhase, {2915}, RegisterBus::Smbus, 0x3D, 0x11, 2, false, 0x10, 5, 3},
    {Setting::DdrPhase, {2911}, RegisterBus::SuperIo, 0, 0x81, 2, false, 0x82, 3, 2},
    {Setting::MchPhase, {2918}, RegisterBus::Smbus, 0x31, 0x01, 5, false, 0x10, 4, 2},
    {Setting::MchPhase, {2917, 2916}, RegisterBus::Smbus, 0x33, 0x01, 5, false, 0x10, 4, 2},
    {Setting::MchPhase, {2915}, RegisterBus::Smbus, 0x35, 0x01, 5, false, 0x10, 5, 2},
    {Setting::MchPhase, {2911}, RegisterBus::SuperIo, 0, 0x81, 1, false, 0x82, 4, 2},
}};

// 2902 and 2905 keep five voltages in the nibbles of one memory regulator (0x50).
inline constexpr BoardSet kNibbleBoards{2902, 2905};
// How many options each nibble setting of those boards has: a nibble beyond them stands for none.
struct NibbleOptions {
    Setting setting;
    int count;
};
inline constexpr std::array<NibbleOptions, 4> kNibbleOptionCounts{{
    {Setting::DdrVoltage, 15},
    {Setting::IchVoltage, 12},
    {Setting::DdrVrefCaA, 12},
    {Setting::MchVoltage, 15},
}};

// Whether the board routines write a setting on a board at all, and whether they can read it back.
bool hasWriteRow(int boardCode, Setting setting);
bool hasReadBack(int boardCode, Setting setting);

} // namespace solvane::hw
