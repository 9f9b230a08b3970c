#include "hw/CpuPhaseControl.h"

#include "support/FakeRegisters.h"

#include <gtest/gtest.h>

namespace solvane::hw {
namespace {

class CpuPhaseControlTest : public ::testing::Test {
protected:
    CpuPhaseControlTest() : bus(registers, registers, registers), control(bus, random) {}

    CpuPhaseReading read(int boardCode, std::string version = "1.0") {
        return control.read({boardCode, version});
    }
    std::optional<int> write(int boardCode, int value, std::string version = "1.0") {
        return control.write({boardCode, version}, value);
    }

    test::FakeRegisters registers;
    platform::ScriptedRandom random;
    BoardBus bus;
    CpuPhaseControl control;
};

TEST_F(CpuPhaseControlTest, NestedLevelBitsCountUntilTheFirstClearBit) {
    registers.smbusRegister(0x33, 0x10) = 0x0F;
    registers.smbusRegister(0x33, 0x00) = 0x08;
    EXPECT_EQ(read(2917).levelCount, 6);
    registers.smbusRegister(0x33, 0x10) = 0x0B; // bit 2 clear stops the count
    EXPECT_EQ(read(2917).levelCount, 2);
    // Register 0's extra level only counts when all four nested bits are set.
    registers.smbusRegister(0x33, 0x10) = 0x0E;
    EXPECT_EQ(read(2917).levelCount, 4);
    EXPECT_EQ(read(2916).levelCount, 4);

    registers.smbusRegister(0x35, 0x10) = 0x1F;
    EXPECT_EQ(read(2915).levelCount, 6);
    registers.smbusRegister(0x37, 0x10) = 0x0F; // bit 4 clear: nothing counts
    EXPECT_EQ(read(2910).levelCount, 1);
}

TEST_F(CpuPhaseControlTest, TheFixedPhaseBitSelectsTheTopLevelOrAutomatic) {
    registers.smbusRegister(0x31, 0x10) = 0x0C; // 2918: three levels
    EXPECT_EQ(read(2918).cpuPhase, 0);
    registers.smbusRegister(0x31, 0x01) = 0x80;
    EXPECT_EQ(read(2918).cpuPhase, 2) << "2918 has no level pattern: the top level";
    registers.smbusRegister(0x35, 0x10) = 0x18;
    registers.smbusRegister(0x35, 0x01) = 0x40; // 2915 uses bit 6
    EXPECT_EQ(read(2915).cpuPhase, 2);
}

TEST_F(CpuPhaseControlTest, RegulatorPatternsPerLevelKeepTheUnmaskedBits) {
    struct Case {
        int board;
        std::uint8_t device;
        std::uint8_t old;
        std::array<std::uint8_t, 7> expected; // levels 0 to 6
    };
    const std::vector<Case> cases{
        {2917, 0x32, 0xFF, {0x60, 0xF7, 0xF3, 0xF1, 0xF0, 0xE0, 0xE0}},
        {2916, 0x32, 0xFF, {0x78, 0xFF, 0xFB, 0xF9, 0xF8, 0xF8, 0xF8}},
        {2915, 0x34, 0xFF, {0xB0, 0xFF, 0xF7, 0xF3, 0xF1, 0xF0, 0xF0}},
        // Bit 4 is the CPU load-line LED: no level sets or clears it.
        {2915, 0x34, 0xEF, {0xA0, 0xEF, 0xE7, 0xE3, 0xE1, 0xE0, 0xE0}},
        {2910, 0x36, 0x00, {0x00, 0x9F, 0x97, 0x93, 0x91, 0x90, 0x00}},
    };
    for (const auto& [board, device, old, expected] : cases) {
        for (int level = 0; level < 7; ++level) {
            registers.smbusRegister(device, 0x01) = old;
            registers.writes.clear();
            write(board, level);
            ASSERT_EQ(registers.writes.size(), 1U) << board << " level " << level;
            EXPECT_EQ(registers.writes[0].address, device);
            EXPECT_EQ(registers.writes[0].value, expected[static_cast<std::size_t>(level)])
                << board << " level " << level;
        }
    }
}

TEST_F(CpuPhaseControlTest, EveryFixedLevelReadsBackAsWritten) {
    struct Board {
        int code;
        std::uint8_t levelDevice;
        std::uint8_t levels; // register 0x10 with every level present
        int topLevel;
    };
    for (const auto& [code, device, levels, topLevel] : std::vector<Board>{
             {2917, 0x33, 0x0F, 5}, {2915, 0x35, 0x1F, 5}, {2910, 0x37, 0x1F, 5}, {2916, 0x33, 0x0F, 4}}) {
        registers.smbusRegister(device, 0x10) = levels;
        registers.smbusRegister(device, 0x00) = 0x08;
        for (int level = 0; level <= topLevel; ++level) {
            write(code, level);
            EXPECT_EQ(read(code).cpuPhase, level) << code << " level " << level;
        }
    }
}

TEST_F(CpuPhaseControlTest, FixedLevelsOf2912And2911And2907ReadBackAsWritten) {
    registers.smbusRegister(0x31, 0x10) = 0x07; // four levels
    for (int level = 0; level <= 3; ++level) {
        write(2912, level);
        EXPECT_EQ(read(2912).cpuPhase, level) << "2912 level " << level;
    }
    registers.sio[0xD2] = 0x07; // four levels
    for (const int board : {2911, 2907}) {
        // Bits 1 to 3 of Super I/O 0x81 are other switches: whatever they hold, the level reads back.
        for (const std::uint8_t others : {0x00, 0x0E, 0x06}) {
            for (int level = 0; level <= 3; ++level) {
                registers.sio[0x81] = others;
                write(board, level);
                EXPECT_EQ(read(board).cpuPhase, level)
                    << board << " level " << level << " others " << +others;
            }
        }
    }
}

TEST_F(CpuPhaseControlTest, NorthbridgeBoardsOnlySwitchAutomaticOff) {
    registers.northbridge[0xA0] = 0x12;
    EXPECT_EQ(read(2903).levelCount, 2);
    EXPECT_EQ(read(2903).cpuPhase, 1);
    write(2903, 1);
    EXPECT_EQ(registers.northbridge[0xA0], 0x92U);
    EXPECT_EQ(read(2903).cpuPhase, 0);
    registers.northbridge[0xA0] = 0;
    EXPECT_EQ(read(2905).cpuPhase, 3);
    write(2902, 0);
    EXPECT_EQ(read(2902).cpuPhase, 0) << "any level sets the bit";
}

TEST_F(CpuPhaseControlTest, SuperIoBoards) {
    registers.sio[0xD2] = 0x07;
    registers.sio[0x81] = 0x01;
    EXPECT_EQ(read(2911).levelCount, 4);
    EXPECT_EQ(read(2907).cpuPhase, 3);
    registers.sio[0xD2] = 0x06;
    EXPECT_EQ(read(2911).levelCount, 3);
    registers.sio[0x81] = 0xFF;
    write(2911, 1);
    EXPECT_EQ(registers.sio[0x81], 0xBF);
    write(2911, 0);
    EXPECT_EQ(registers.sio[0x81], 0xBE);
    registers.writes.clear();
    write(2911, 4);
    EXPECT_TRUE(registers.writes.empty());

    // 2901 and early 2904: a plain switch that also drives the CPU phase LED.
    EXPECT_EQ(write(2901, 1), 1);
    EXPECT_TRUE(registers.sio[0xD0] & 0x01);
    EXPECT_FALSE(registers.sio[0xD1] & 0x01);
    EXPECT_EQ(read(2904).cpuPhase, 1);
    EXPECT_EQ(write(2904, 0), 0);
    EXPECT_EQ(read(2904).cpuPhase, 0);
}

TEST_F(CpuPhaseControlTest, LaterRevisionsOf2904UseTheChipsetPorts) {
    registers.ports[0x484] = 0xFF;
    EXPECT_EQ(write(2904, 1, "6.0"), std::nullopt);
    EXPECT_EQ(registers.ports[0x480] & 0x08, 0x08);
    EXPECT_EQ(registers.ports[0x484] & 0x08, 0x00);
    EXPECT_EQ(registers.ports[0x48C] & 0x08, 0x00);
    EXPECT_EQ(read(2904, "6.0").cpuPhase, 1);
    EXPECT_TRUE(registers.sio.empty()) << "the Super I/O switch is not touched";
}

TEST_F(CpuPhaseControlTest, Board2912And2909) {
    registers.smbusRegister(0x31, 0x10) = 0x07;
    registers.smbusRegister(0x31, 0x11) = 0x08;
    EXPECT_EQ(read(2912).levelCount, 4);
    EXPECT_EQ(read(2912).cpuPhase, 3);
    registers.smbusRegister(0x31, 0x10) = 0x02;
    EXPECT_EQ(read(2912).levelCount, 2);
    write(2912, 1);
    EXPECT_EQ(registers.smbusRegister(0x30, 0x01), 5);
    write(2912, 3);
    EXPECT_EQ(registers.smbusRegister(0x30, 0x01), 0);
    write(2912, 2);
    EXPECT_EQ(registers.smbusRegister(0x30, 0x01), 4);
    write(2912, 0);
    EXPECT_EQ(registers.smbusRegister(0x30, 0x11), 0x00);

    for (const auto& [x, count, phase] :
         std::vector<std::tuple<int, int, int>>{{1, 1, 1}, {5, 2, 2}, {7, 3, 3}, {0, 1, 1}}) {
        registers.sio[0xC2] = static_cast<std::uint8_t>(x);
        EXPECT_EQ(read(2909).levelCount, count) << x;
        EXPECT_EQ(read(2909).cpuPhase, phase) << x;
    }
    registers.writes.clear();
    write(2909, 2);
    write(2918, 2);
    EXPECT_TRUE(registers.writes.empty());
}

// The level counts read from three bits, for every value of the bits, with the register's other
// bits set so they cannot count.
TEST_F(CpuPhaseControlTest, LevelCountsFromThreeBitsAtEveryValue) {
    const std::array<int, 8> counts2912{1, 1, 2, 3, 3, 3, 3, 4}; // x > 1, > 2, > 6
    const std::array<int, 8> countsSio{1, 1, 2, 2, 2, 2, 3, 4};  // x > 1, > 5, > 6
    const std::array<int, 8> counts2909{1, 1, 1, 1, 1, 2, 1, 3}; // x = 5: 2, x = 7: 3
    const std::array<int, 8> phase2909{1, 1, 1, 1, 1, 2, 1, 3};  // x = 1: 1, 5: 2, 7: 3, else 1
    for (std::uint8_t x = 0; x < 8; ++x) {
        const auto byte = static_cast<std::uint8_t>(x | 0xF8);
        registers.smbusRegister(0x31, 0x10) = byte;
        EXPECT_EQ(read(2912).levelCount, counts2912[x]) << "2912, x = " << int{x};
        registers.sio[0xD2] = byte;
        EXPECT_EQ(read(2911).levelCount, countsSio[x]) << "2911, x = " << int{x};
        EXPECT_EQ(read(2907).levelCount, countsSio[x]) << "2907, x = " << int{x};
        registers.sio[0xC2] = byte;
        EXPECT_EQ(read(2909).levelCount, counts2909[x]) << "2909, x = " << int{x};
        EXPECT_EQ(read(2909).cpuPhase, phase2909[x]) << "2909, x = " << int{x};
    }
}

TEST_F(CpuPhaseControlTest, Board2906ReportsARandomCountWithoutItsFixedBit) {
    random.queue(4);
    random.queue(7);
    EXPECT_EQ(read(2906).levelCount, 2);
    EXPECT_EQ(read(2906).levelCount, 3);
    registers.smbusRegister(0x30, 0x11) = 0x08;
    EXPECT_EQ(read(2906).levelCount, 4);
    EXPECT_EQ(read(2906).cpuPhase, 4);
    registers.smbusRegister(0x30, 0x11) = 0x3F;
    write(2906, 1);
    EXPECT_EQ(registers.writes.back(), (test::FakeRegisters::Write{"smbus-falwick", 0x30, 0x11, 0x38}));
}

// Every write each board's own switch makes, in order, from registers that start with all bits set.
TEST_F(CpuPhaseControlTest, EachSwitchWritesItsRegistersInOrder) {
    using Write = test::FakeRegisters::Write;
    struct Case {
        int board;
        std::string version;
        int value;
        std::vector<Write> writes;
    };
    const std::vector<Case> cases{
        {2912, "1.0", 0, {{"smbus", 0x30, 0x11, 0xF7}}},
        {2912, "1.0", 2, {{"smbus", 0x30, 0x11, 0xFF}, {"smbus", 0x30, 0x01, 0x04}}},
        {2912, "1.0", 4, {}},
        {2907, "1.0", 0, {{"sio", 6, 0x81, 0xFE}}},
        {2907, "1.0", 3, {{"sio", 6, 0x81, 0x1F}}},
        {2905, "1.0", 2, {{"pci", 0xC3, 0xA0, 0xFFFFFFFF}}},
        {2901, "1.0", 1, {{"sio", 6, 0xD0, 0xFF}, {"sio", 6, 0xD1, 0xFE}}},
        {2904, "6.0", 0, {{"port", 0x480, 0, 0xFF}, {"port", 0x484, 0, 0xF7}, {"port", 0x48C, 0, 0xFF}}},
        {2906, "1.0", 2, {{"smbus-falwick", 0x30, 0x11, 0xF0}}},
        {2909, "1.0", 2, {}},
    };
    for (const auto& [board, version, value, writes] : cases) {
        registers.smbusRegister(0x31, 0x11) = 0xFF;
        registers.smbusRegister(0x31, 0x01) = 0xFF;
        for (const std::uint8_t reg : {0x81, 0xD0, 0xD1})
            registers.sio[reg] = 0xFF;
        for (const std::uint16_t port : {0x480, 0x484, 0x48C})
            registers.ports[port] = 0xFF;
        registers.northbridge[0xA0] = 0xFFFFFF7F; // the switch's dword keeps its other bytes
        registers.writes.clear();
        write(board, value, version);
        EXPECT_EQ(registers.writes, writes) << board << " " << version << " value " << value;
    }
}

TEST_F(CpuPhaseControlTest, UnknownBoardsReportOneLevelAndWriteNothing) {
    const auto reading = read(2999);
    EXPECT_EQ(reading.levelCount, 1);
    EXPECT_FALSE(reading.cpuPhase);
    write(2999, 3);
    EXPECT_TRUE(registers.writes.empty());
}

} // namespace
} // namespace solvane::hw
