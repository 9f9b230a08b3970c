// Every register row of the board routines, checked one by one against the boards' register tables
// as written down here (device, register, bits and the value that sets them), for both values and
// from both a clear and a full register, so a row with the wrong bit or polarity in both its write
// and its read-back cannot pass by reading back what it wrote.
#include "hw/BoardSettingRoutinesFixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace solvane::hw {
namespace {

using Write = test::FakeRegisters::Write;

// When the bits of a switch are set: for v = 0, for v = 1, for any v other than 0, or always.
enum class SetWhen { Zero, One, NonZero, Always };

struct Bits {
    const char* bus;     // "smbus", "smbus-falwick" or "sio"
    std::uint8_t device; // SMBus write address; 0 for Super I/O
    std::uint8_t reg;
    std::uint8_t mask;
    SetWhen when;
};

struct SwitchRow {
    Setting setting;
    std::vector<int> boards;
    std::vector<Bits> writes; // in the order they are written
};

const std::vector<SwitchRow> kSwitchRows{
    {Setting::CpuVttdPhase, {2917}, {{"smbus", 0x34, 0x11, 0x08, SetWhen::NonZero}}},
    {Setting::CpuVttdPhase, {2915}, {{"smbus", 0x3C, 0x11, 0x01, SetWhen::NonZero}}},
    {Setting::DdrPhase, {2918}, {{"smbus", 0x30, 0x01, 0x40, SetWhen::Zero}}},
    {Setting::DdrPhase, {2917, 2916, 2910}, {{"smbus", 0x32, 0x01, 0x40, SetWhen::Zero}}},
    {Setting::DdrPhase, {2915}, {{"smbus", 0x3C, 0x11, 0x04, SetWhen::Zero}}},
    {Setting::DdrPhase, {2911}, {{"sio", 0, 0x81, 0x04, SetWhen::Zero}}},
    {Setting::MchPhase, {2918}, {{"smbus", 0x30, 0x01, 0x20, SetWhen::Zero}}},
    {Setting::MchPhase, {2917, 2916, 2910}, {{"smbus", 0x32, 0x01, 0x20, SetWhen::Zero}}},
    {Setting::MchPhase, {2915}, {{"smbus", 0x34, 0x01, 0x20, SetWhen::Zero}}},
    {Setting::MchPhase, {2911}, {{"sio", 0, 0x81, 0x02, SetWhen::Zero}}},
    {Setting::CpuPhaseLed, {2917}, {{"smbus", 0x34, 0x11, 0x01, SetWhen::Zero}}},
    {Setting::CpuPhaseLed, {2916}, {{"smbus", 0x30, 0x11, 0x01, SetWhen::Zero}}},
    {Setting::CpuPhaseLed, {2915}, {{"smbus", 0x3C, 0x01, 0x01, SetWhen::Zero}}},
    {Setting::CpuPhaseLed, {2910}, {{"smbus", 0x36, 0x01, 0x40, SetWhen::Zero}}},
    {Setting::CpuPhaseLed, {2912}, {{"smbus", 0x30, 0x11, 0x20, SetWhen::One}}},
    {Setting::CpuPhaseLed, {2906}, {{"smbus-falwick", 0x30, 0x11, 0x20, SetWhen::Zero}}},
    {Setting::CpuPhaseLed,
     {2903},
     {{"sio", 0, 0xB0, 0x04, SetWhen::Always}, {"sio", 0, 0xB1, 0x04, SetWhen::Zero}}},
    {Setting::CpuPhaseLed,
     {2902, 2905},
     {{"sio", 0, 0xE0, 0x02, SetWhen::Always}, {"sio", 0, 0xE1, 0x08, SetWhen::Zero}}},
    {Setting::PowerResetLed, {2917}, {{"smbus", 0x34, 0x11, 0x04, SetWhen::One}}},
    {Setting::PowerResetLed, {2916}, {{"smbus", 0x30, 0x11, 0x04, SetWhen::One}}},
    {Setting::PowerResetLed, {2915}, {{"smbus", 0x3C, 0x01, 0x40, SetWhen::Zero}}},
    {Setting::PowerResetLed, {2911}, {{"sio", 0, 0xF1, 0x01, SetWhen::Zero}}},
    {Setting::PowerResetLed, {2910}, {{"smbus", 0x36, 0x01, 0x10, SetWhen::One}}},
    {Setting::CpuVttdPhaseLed, {2917}, {{"smbus", 0x34, 0x01, 0x40, SetWhen::Zero}}},
    {Setting::CpuVttdPhaseLed, {2915}, {{"smbus", 0x3C, 0x01, 0x80, SetWhen::Zero}}},
    {Setting::DdrPhaseLed, {2917}, {{"smbus", 0x34, 0x01, 0x20, SetWhen::One}}},
    {Setting::DdrPhaseLed, {2916}, {{"smbus", 0x30, 0x01, 0x20, SetWhen::One}}},
    {Setting::DdrPhaseLed, {2915}, {{"smbus", 0x3C, 0x01, 0x20, SetWhen::Zero}}},
    {Setting::DdrPhaseLed, {2911}, {{"sio", 0, 0xF1, 0x02, SetWhen::Zero}}},
    {Setting::MchPhaseLed, {2917}, {{"smbus", 0x34, 0x01, 0x10, SetWhen::Zero}}},
    {Setting::MchPhaseLed, {2916}, {{"smbus", 0x30, 0x01, 0x10, SetWhen::One}}},
    {Setting::MchPhaseLed, {2915}, {{"smbus", 0x3C, 0x01, 0x10, SetWhen::Zero}}},
    {Setting::MchPhaseLed, {2911}, {{"sio", 0, 0xF1, 0x04, SetWhen::Zero}}},
    {Setting::S0S3Led, {2917}, {{"smbus", 0x34, 0x01, 0x08, SetWhen::Zero}}},
    {Setting::S0S3Led, {2916}, {{"smbus", 0x30, 0x01, 0x08, SetWhen::Zero}}},
    {Setting::S0S3Led, {2915}, {{"smbus", 0x3C, 0x01, 0x08, SetWhen::Zero}}},
    {Setting::PciSlotLed, {2917}, {{"smbus", 0x34, 0x01, 0x01, SetWhen::One}}},
    {Setting::PciSlotLed, {2916}, {{"smbus", 0x30, 0x01, 0x01, SetWhen::One}}},
    {Setting::PciSlotLed, {2915}, {{"smbus", 0x3C, 0x01, 0x02, SetWhen::Zero}}},
    {Setting::PcieSlotLed, {2917}, {{"smbus", 0x34, 0x01, 0x06, SetWhen::One}}},
    {Setting::PcieSlotLed, {2916}, {{"smbus", 0x30, 0x01, 0x06, SetWhen::One}}},
    {Setting::CpuLoadLineLed, {2915}, {{"smbus", 0x34, 0x01, 0x10, SetWhen::Zero}}},
    {Setting::HdLed, {2915}, {{"smbus", 0x3C, 0x01, 0x04, SetWhen::Zero}}},
};

bool setsBits(SetWhen when, SettingValue v) {
    switch (when) {
    case SetWhen::Zero:
        return v == 0;
    case SetWhen::One:
        return v == 1;
    case SetWhen::NonZero:
        return v != 0;
    case SetWhen::Always:
        return true;
    }
    return false;
}

std::string describe(Setting setting, int board, SettingValue v) {
    std::ostringstream text;
    text << "setting " << indexOf(setting) << " on " << board << ", v = " << v;
    return text.str();
}

class SettingRegisterTablesTest : public BoardSettingRoutinesTest {
protected:
    std::uint8_t& reg(const Bits& bits) {
        return bits.device == 0 ? registers.sio[bits.reg] : registers.smbusRegister(bits.device, bits.reg);
    }
};

TEST_F(SettingRegisterTablesTest, EverySwitchWritesItsBitsWithItsPolarity) {
    for (const auto& row : kSwitchRows) {
        for (const int code : row.boards) {
            board(code);
            for (const SettingValue v : {0, 1}) {
                for (const std::uint8_t old : {0x00, 0xFF}) {
                    for (const auto& bits : row.writes)
                        reg(bits) = old;
                    registers.writes.clear();
                    apply(row.setting, v);
                    std::vector<Write> expected;
                    for (const auto& bits : row.writes) {
                        const auto byte = setsBits(bits.when, v) ? old | bits.mask : old & ~bits.mask & 0xFF;
                        expected.push_back({bits.bus, bits.device == 0 ? 6U : bits.device, bits.reg,
                                            static_cast<std::uint32_t>(byte)});
                    }
                    EXPECT_EQ(registers.writes, expected)
                        << describe(row.setting, code, v) << ", register was " << int{old};
                }
            }
        }
    }
}

// An LED reads 1 exactly when its bits are as the write leaves them for 1; a two-bit switch is on
// when either bit is. The registers around the bits hold the opposite, so a wrong bit reads wrong.
TEST_F(SettingRegisterTablesTest, EveryLedReadsBackItsOwnBitsWithTheirPolarity) {
    for (const auto& row : kSwitchRows) {
        if (indexOf(row.setting) < indexOf(Setting::CpuPhaseLed))
            continue;
        const auto& bits = row.writes.back();
        for (const int code : row.boards) {
            if (row.setting == Setting::CpuPhaseLed && code == 2912)
                continue; // that LED has no read-back
            board(code);
            const bool oneSets = setsBits(bits.when, 1);
            std::vector<std::pair<std::uint8_t, SettingValue>> readings{
                {static_cast<std::uint8_t>(oneSets ? bits.mask : ~bits.mask), 1},
                {static_cast<std::uint8_t>(oneSets ? ~bits.mask : bits.mask), 0}};
            if (bits.mask == 0x06) // either bit alone lights it
                readings.insert(readings.end(), {{0x02, 1}, {0x04, 1}});
            for (const auto& [byte, expected] : readings) {
                reg(bits) = byte;
                at(row.setting) = 5;
                routines.ReadBack(indexOf(row.setting));
                EXPECT_EQ(at(row.setting), expected)
                    << describe(row.setting, code, expected) << " from " << int{byte};
            }
        }
    }
    EXPECT_TRUE(registers.writes.empty()) << "reading never writes";
}

// The phase settings 3, 14 and 17 read whether a fixed count is held and how many levels the
// board offers.
struct PhaseReadRow {
    Setting setting;
    std::vector<int> boards;
    std::uint8_t device; // SMBus read address; 0 for Super I/O
    std::uint8_t stateReg;
    int stateBit;
    bool fixedWhenSet;
    std::uint8_t countReg;
    int countBit;
    int countWhenSet;
};

const std::vector<PhaseReadRow> kPhaseReads{
    {Setting::CpuVttdPhase, {2917}, 0x35, 0x11, 3, true, 0x10, 4, 2},
    {Setting::CpuVttdPhase, {2915}, 0x3D, 0x11, 0, true, 0x10, 3, 2},
    {Setting::DdrPhase, {2918}, 0x31, 0x01, 6, false, 0x10, 5, 2},
    {Setting::DdrPhase, {2917, 2916}, 0x33, 0x01, 6, false, 0x10, 5, 2},
    {Setting::DdrPhase, {2915}, 0x3D, 0x11, 2, false, 0x10, 5, 3},
    {Setting::DdrPhase, {2911}, 0, 0x81, 2, false, 0x82, 3, 2},
    {Setting::MchPhase, {2918}, 0x31, 0x01, 5, false, 0x10, 4, 2},
    {Setting::MchPhase, {2917, 2916}, 0x33, 0x01, 5, false, 0x10, 4, 2},
    {Setting::MchPhase, {2915}, 0x35, 0x01, 5, false, 0x10, 5, 2},
    {Setting::MchPhase, {2911}, 0, 0x81, 1, false, 0x82, 4, 2},
};

TEST_F(SettingRegisterTablesTest, PhaseSettingsReadTheirStateAndLevelBits) {
    for (const auto& row : kPhaseReads) {
        for (const int code : row.boards) {
            board(code);
            auto& stateRegister = row.device == 0 ? registers.sio[row.stateReg]
                                                  : registers.smbusRegister(row.device, row.stateReg);
            auto& count = row.device == 0 ? registers.sio[row.countReg]
                                          : registers.smbusRegister(row.device, row.countReg);
            const auto only = [](int bit) { return static_cast<std::uint8_t>(1U << bit); };
            const auto allBut = [](int bit) { return static_cast<std::uint8_t>(~(1U << bit)); };
            struct Reading {
                std::uint8_t state;
                std::uint8_t count;
                SettingValue value;
                int levels;
            };
            const int top = row.countWhenSet;
            const auto fixed = row.fixedWhenSet ? only(row.stateBit) : allBut(row.stateBit);
            const auto automatic = row.fixedWhenSet ? allBut(row.stateBit) : only(row.stateBit);
            for (const auto& reading : {Reading{fixed, only(row.countBit), top - 1, top},
                                        Reading{fixed, allBut(row.countBit), 0, 1},
                                        Reading{automatic, only(row.countBit), 0, top}}) {
                stateRegister = reading.state;
                count = reading.count;
                at(row.setting) = 7;
                routines.ReadBack(indexOf(row.setting));
                EXPECT_EQ(at(row.setting), reading.value)
                    << describe(row.setting, code, reading.value) << ", state " << int{reading.state}
                    << ", count " << int{reading.count};
                EXPECT_EQ(state.levelCount(row.setting), reading.levels) << describe(row.setting, code, 0);
            }
        }
    }
}

// Voltages written as code bytes: the byte at the option index of list A, B, C or the board's own
// list goes to one register. Two options per row, with their bytes as the lists define them.
enum class List { A, B, C, C15, Own };

struct CodeRowCase {
    Setting setting;
    std::vector<int> boards;
    std::uint8_t device;
    std::uint8_t reg;
    List list;
};

const std::vector<CodeRowCase> kCodeRowCases{
    {Setting::CpuVoltage, {2918}, 0x64, 1, List::B},
    {Setting::CpuVoltage, {2917, 2916, 2915, 2910}, 0x60, 1, List::B},
    {Setting::CpuVoltage, {2911}, 0x60, 1, List::Own},
    {Setting::CpuVoltage, {2902, 2905}, 0x60, 2, List::Own},
    {Setting::VttFsbVoltage, {2917, 2915}, 0x6A, 1, List::B},
    {Setting::VttFsbVoltage, {2916, 2910}, 0x68, 1, List::B},
    {Setting::VttFsbVoltage, {2902, 2905}, 0x60, 1, List::Own},
    {Setting::CpuPllVoltage, {2917, 2916, 2915, 2910}, 0x64, 2, List::A},
    {Setting::DdrVoltage, {2918, 2917, 2916, 2915, 2910}, 0x50, 1, List::C},
    {Setting::DdrVoltage, {2911}, 0x50, 1, List::Own},
    {Setting::DdrVrefCaA, {2917, 2916, 2915, 2910}, 0x62, 1, List::A},
    {Setting::DdrVrefCaB, {2917, 2916, 2915, 2910}, 0x62, 2, List::A},
    {Setting::DdrVrefCaC, {2917, 2916, 2915, 2910}, 0x62, 3, List::A},
    {Setting::DdrVrefDaA, {2917, 2915}, 0x68, 1, List::A},
    {Setting::DdrVrefDaB, {2917, 2915}, 0x68, 2, List::A},
    {Setting::DdrVrefDaC, {2917, 2915}, 0x68, 3, List::A},
    {Setting::DdrVrefDaA, {2916, 2910}, 0x6A, 1, List::A},
    {Setting::DdrVrefDaB, {2916, 2910}, 0x6A, 2, List::A},
    {Setting::DdrVrefDaC, {2916, 2910}, 0x6A, 3, List::A},
    {Setting::MchVoltage, {2917, 2915}, 0x6A, 2, List::B},
    {Setting::MchVoltage, {2916}, 0x50, 2, List::C},
    {Setting::MchVoltage, {2910}, 0x50, 2, List::C15},
    {Setting::MchVoltage, {2911}, 0x64, 2, List::Own},
    {Setting::IchVoltage, {2917, 2916, 2915, 2910}, 0x64, 1, List::A},
    {Setting::IchVoltage, {2911}, 0x60, 3, List::Own},
};

// Two options of a list and their bytes: the first option and the one the list calls neutral.
std::vector<std::pair<SettingValue, std::uint8_t>> knownCodes(List list, int board, Setting setting) {
    switch (list) {
    case List::A:
        return {{0, 0x50}, {16, 0x40}};
    case List::B:
        return {{0, 0xD0}, {16, 0xC0}};
    case List::C:
        return {{0, 0x9F}, {31, 0x80}};
    case List::C15: // C[v + 15]
        return {{0, 0x90}, {16, 0x80}};
    case List::Own:
        break;
    }
    if (board == 2911) {
        switch (setting) {
        case Setting::CpuVoltage:
            return {{0, 0xD0}, {16, 0x80}};
        case Setting::DdrVoltage:
            return {{0, 0x9F}, {41, 0x0A}};
        case Setting::MchVoltage:
            return {{0, 0x47}, {7, 0x00}};
        default:
            return {{0, 0x50}, {16, 0x00}};
        }
    }
    if (setting == Setting::CpuVoltage)
        return {{0, 0xD0}, {30, 0x00}};
    return {{0, 0x45}, {12, 0xC3}}; // VTT FSB of 2902 and 2905
}

TEST_F(SettingRegisterTablesTest, EveryVoltageWritesItsCodeToItsRegisterAndReadsItBack) {
    for (const auto& row : kCodeRowCases) {
        for (const int code : row.boards) {
            board(code);
            for (const auto& [v, byte] : knownCodes(row.list, code, row.setting)) {
                registers.writes.clear();
                apply(row.setting, v);
                EXPECT_EQ(registers.writes, (std::vector<Write>{{"smbus", row.device, row.reg, byte}}))
                    << describe(row.setting, code, v);
                if (row.setting == Setting::DdrVoltage && code == 2915)
                    continue; // its regulator cannot be read
                at(row.setting) = v == 0 ? 1 : 0;
                routines.ReadBack(indexOf(row.setting));
                EXPECT_EQ(at(row.setting), v) << "read back, " << describe(row.setting, code, v);
            }
        }
    }
}

// ALL_LED on the boards whose LEDs sit in one controller's registers, from a clear and a full
// register.
TEST_F(SettingRegisterTablesTest, AllLedPatternsOfEachBoard) {
    struct Case {
        int board;
        SettingValue v;
        std::uint8_t old;
        std::vector<Write> writes;
    };
    const std::vector<Case> cases{
        {2917, 1, 0x00, {{"smbus", 0x34, 0x01, 0x27}, {"smbus", 0x34, 0x11, 0x04}}},
        {2917, 0, 0xFF, {{"smbus", 0x34, 0x01, 0xD8}, {"smbus", 0x34, 0x11, 0xFB}}},
        {2917, 0, 0x00, {{"smbus", 0x34, 0x01, 0x58}, {"smbus", 0x34, 0x11, 0x01}}},
        {2916, 1, 0x00, {{"smbus", 0x30, 0x01, 0x37}, {"smbus", 0x30, 0x11, 0x04}}},
        {2916, 1, 0xFF, {{"smbus", 0x30, 0x01, 0xF7}, {"smbus", 0x30, 0x11, 0xFE}}},
        {2916, 0, 0xFF, {{"smbus", 0x30, 0x01, 0xC8}, {"smbus", 0x30, 0x11, 0xFB}}},
        {2916, 0, 0x00, {{"smbus", 0x30, 0x01, 0x08}, {"smbus", 0x30, 0x11, 0x01}}},
        {2915, 1, 0xFF, {{"smbus", 0x3C, 0x01, 0x00}, {"smbus", 0x34, 0x01, 0xEF}}},
        {2915, 0, 0x00, {{"smbus", 0x3C, 0x01, 0xFF}, {"smbus", 0x34, 0x01, 0x10}}},
        {2910, 1, 0xFF, {{"smbus", 0x36, 0x01, 0xBF}}},
        {2910, 1, 0x00, {{"smbus", 0x36, 0x01, 0x10}}},
        {2910, 0, 0xFF, {{"smbus", 0x36, 0x01, 0xEF}}},
        {2910, 0, 0x00, {{"smbus", 0x36, 0x01, 0x40}}},
    };
    for (const auto& c : cases) {
        board(c.board);
        values.fill(c.v == 1 ? 0 : 1);
        for (const std::uint8_t device : {0x30, 0x34, 0x36, 0x3C})
            for (const std::uint8_t r : {0x01, 0x11})
                registers.smbusRegister(device, r) = c.old;
        registers.writes.clear();
        apply(Setting::AllLed, c.v);
        EXPECT_EQ(registers.writes, c.writes) << c.board << " v = " << c.v << " from " << int{c.old};
        // The LEDs the pattern covers take its value.
        const auto last = c.board == 2915 ? Setting::HdLed : Setting::PcieSlotLed;
        const auto first = c.board == 2910 ? Setting::PowerResetLed : Setting::CpuPhaseLed;
        for (int led = indexOf(Setting::CpuPhaseLed); led <= indexOf(last); ++led) {
            if (c.board != 2910 || led <= indexOf(first)) {
                EXPECT_EQ(values[static_cast<std::size_t>(led)], c.v) << c.board << " LED " << led;
            }
        }
    }
}

} // namespace
} // namespace solvane::hw

namespace solvane::hw {
namespace {

bool listed(const std::vector<int>& boards, int board) {
    return std::find(boards.begin(), boards.end(), board) != boards.end();
}

// Which (board, setting) pairs the routines write and read back: the rows of the tables above,
// the CPU phase boards, ALL_LED, the toggled and strapped CPU phase LEDs and the nibble voltages.
TEST(SettingRegisterMap, WhichPairsAreWrittenAndReadBack) {
    const std::vector<int> phaseWrites{2917, 2916, 2915, 2910, 2912, 2911, 2907,
                                       2903, 2902, 2905, 2904, 2901, 2906};
    const std::vector<int> phaseReads{2918, 2916, 2917, 2915, 2910, 2912, 2911, 2907,
                                      2903, 2902, 2905, 2904, 2901, 2909, 2906};
    const std::vector<int> allLed{2917, 2916, 2915, 2911, 2910};
    const std::vector<int> nibbles{2902, 2905};
    for (int board = 2900; board <= 2919; ++board) {
        for (int k = 0; k < static_cast<int>(kSettingSlots); ++k) {
            const auto setting = static_cast<Setting>(k);
            bool writes = false;
            bool reads = false;
            for (const auto& row : kSwitchRows) {
                if (row.setting == setting && listed(row.boards, board)) {
                    writes = true;
                    // The LEDs read back through their own bits (the 2912 CPU phase LED cannot be
                    // read); the phase switches through their state bits, where a board has them.
                    reads = indexOf(setting) >= indexOf(Setting::CpuPhaseLed) &&
                            !(setting == Setting::CpuPhaseLed && board == 2912);
                }
            }
            for (const auto& row : kPhaseReads)
                reads = reads || (row.setting == setting && listed(row.boards, board));
            for (const auto& row : kCodeRowCases) {
                if (row.setting == setting && listed(row.boards, board)) {
                    writes = true;
                    reads = !(setting == Setting::DdrVoltage && board == 2915);
                }
            }
            switch (setting) {
            case Setting::CpuPhase:
                writes = listed(phaseWrites, board);
                reads = listed(phaseReads, board);
                break;
            case Setting::AllLed:
                writes = listed(allLed, board);
                break;
            case Setting::CpuPhaseLed:
                if (listed({2911, 2907, 2904}, board))
                    writes = reads = true;
                break;
            case Setting::DdrVoltage:
            case Setting::DdrVrefCaA:
            case Setting::MchVoltage:
            case Setting::IchVoltage:
                if (listed(nibbles, board))
                    writes = reads = true;
                break;
            case Setting::CpuPllVoltage:
                if (listed(nibbles, board))
                    reads = true; // the PLL shares the reference's nibble but is never written
                break;
            default:
                break;
            }
            EXPECT_EQ(hasWriteRow(board, setting), writes) << board << " setting " << k;
            EXPECT_EQ(hasReadBack(board, setting), reads) << board << " setting " << k;
        }
    }
}

} // namespace
} // namespace solvane::hw
