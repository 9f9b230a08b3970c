#include "sim/SimTestSupport.h"
#include "sim/boards/CommonBoardData.h"

#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

namespace nimbrel = hw::nimbrel;

class BoardInventory : public ::testing::TestWithParam<int> {
protected:
    BoardInventory() : hardware(test::testOptions(GetParam(), clock)) { test::loadLibraries(hardware); }

    // Reads a byte register the way the program reaches its bus.
    std::uint8_t read(const RegisterSpec& layout) {
        switch (layout.bus) {
        case RegisterBus::Smbus:
            return hardware.hoblin().Smbus_JRW(static_cast<std::uint8_t>(layout.unit | 1U),
                                               static_cast<std::uint8_t>(layout.reg), 0);
        case RegisterBus::SuperIo:
            return hardware.ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort,
                                               static_cast<std::uint8_t>(layout.unit),
                                               static_cast<std::uint8_t>(layout.reg), 0, 1);
        case RegisterBus::Port:
            return hardware.falwick().BaseByte_RW(layout.unit, 0, hw::Falwick::kRead);
        case RegisterBus::Cmos:
        case RegisterBus::Pci:
            break;
        }
        return hardware.ostrel().GetCmosAddressByte(static_cast<std::uint8_t>(layout.reg),
                                                    hw::Ostrel::kCmosIndexPort);
    }

    void write(const RegisterSpec& layout, std::uint8_t value) {
        switch (layout.bus) {
        case RegisterBus::Smbus:
            hardware.hoblin().Smbus_JRW(static_cast<std::uint8_t>(layout.unit),
                                        static_cast<std::uint8_t>(layout.reg), value);
            return;
        case RegisterBus::SuperIo:
            hardware.ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort,
                                        static_cast<std::uint8_t>(layout.unit),
                                        static_cast<std::uint8_t>(layout.reg), value, 0);
            return;
        case RegisterBus::Port:
            hardware.falwick().BaseByte_RW(layout.unit, value, hw::Falwick::kWrite);
            return;
        case RegisterBus::Cmos:
        case RegisterBus::Pci:
            break;
        }
        hardware.ostrel().WriteCmosAddressByte(static_cast<std::uint8_t>(layout.reg), value,
                                               hw::Ostrel::kCmosIndexPort);
    }

    std::vector<RegisterSpec> inventory() const {
        std::vector<RegisterSpec> specs;
        for (const auto& table : findBoardModel(GetParam())->registers)
            specs.insert(specs.end(), table.begin(), table.end());
        return specs;
    }

    test::ManualClock clock;
    SimulatedHardware hardware;
};

// Every register of the board's map answers on its bus with its power-on value; a write changes just
// its writable bits, and what was written is what reads back.
TEST_P(BoardInventory, RegistersReadTheirPowerOnValueAndKeepWhatIsWritten) {
    for (const auto& layout : inventory()) {
        if (layout.live != LiveValue::None)
            continue;
        const auto where = ::testing::Message() << layout.meaning;
        EXPECT_EQ(read(layout), layout.powerOn) << where;
        for (const std::uint8_t pattern : {std::uint8_t{0xA5}, std::uint8_t{0x5A}, layout.powerOn}) {
            hardware.board().log().clear();
            write(layout, pattern);
            ASSERT_EQ(hardware.board().log().entries().size(), 1U) << where;
            const auto& written = hardware.board().log().entries().back();
            EXPECT_EQ(written.direction, Direction::Write) << where;
            EXPECT_EQ(written.value, pattern) << where;
            EXPECT_EQ(written.outcome, layout.writable == kReadOnly ? Outcome::ReadOnly : Outcome::Done)
                << where;
            const auto expected =
                static_cast<std::uint8_t>((pattern & layout.writable) | (layout.powerOn & ~layout.writable));
            EXPECT_EQ(read(layout), expected) << where;
        }
    }
}

// What is not on the board answers as an empty bus does, and a write to it changes nothing.
TEST_P(BoardInventory, AbsentDevicesRegistersAndPortsReadAsAnEmptyBus) {
    auto& board = hardware.board();
    auto& log = board.log();
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0x41, 0x00, 0), 0xFF);
    EXPECT_EQ(log.entries().back().outcome, Outcome::NoDevice);
    hardware.hoblin().Smbus_JRW(0x40, 0x00, 0x12);
    EXPECT_EQ(log.entries().back().outcome, Outcome::NoDevice);

    // A register a device does not have.
    for (const auto& layout : inventory())
        if (layout.bus == RegisterBus::Smbus) {
            EXPECT_EQ(hardware.hoblin().Smbus_JRW(static_cast<std::uint8_t>(layout.unit | 1U), 0xEE, 0),
                      0xFF);
            EXPECT_EQ(log.entries().back().outcome, Outcome::NoRegister);
            hardware.hoblin().Smbus_JRW(static_cast<std::uint8_t>(layout.unit), 0xEE, 0x12);
            EXPECT_EQ(hardware.hoblin().Smbus_JRW(static_cast<std::uint8_t>(layout.unit | 1U), 0xEE, 0),
                      0xFF);
            break;
        }
    EXPECT_EQ(hardware.ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 6, 0xEE, 0, 1), 0xFF);
    EXPECT_EQ(log.entries().back().outcome, Outcome::NoRegister);
    // The chip answers only at its configuration port, and the CMOS bank only behind its index port.
    EXPECT_EQ(hardware.ostrel().Get_EFERs(0x2E, 4, 0x20, 0, 1), 0xFF);
    EXPECT_EQ(log.entries().back().outcome, Outcome::WrongPort);
    EXPECT_EQ(hardware.ostrel().GetCmosAddressByte(0xA3, 0x70), 0xFF);
    hardware.ostrel().WriteCmosAddressByte(0xA3, 0x00, 0x70);
    EXPECT_EQ(log.entries().back().outcome, Outcome::WrongPort);
    EXPECT_NE(hardware.ostrel().GetCmosAddressByte(0xA3, hw::Ostrel::kCmosIndexPort), 0x00);
    EXPECT_EQ(hardware.falwick().BaseByte_RW(0x2F0, 0, hw::Falwick::kRead), 0xFF);
    EXPECT_EQ(log.entries().back().outcome, Outcome::NoDevice);
    EXPECT_EQ(hardware.falwick().PCI_RW(9, 31, 7, 0, 0, hw::Falwick::kRead), hw::Falwick::kNoDevice);
    EXPECT_EQ(log.entries().back().outcome, Outcome::NoDevice);
    // Only the four firmware fan registers take a duty.
    hardware.ostrel().FanControl(0xE3, 0x40, 0);
    EXPECT_EQ(log.entries().back().outcome, Outcome::NoRegister);
    EXPECT_EQ(hardware.ostrel().GetCmosAddressByte(0xE3, hw::Ostrel::kCmosIndexPort), 0x00);
    for (const std::uint8_t fan : {0xA3, 0xB3, 0xC3, 0xD3}) {
        hardware.ostrel().FanControl(fan, 0x2F, 0);
        EXPECT_EQ(hardware.ostrel().GetCmosAddressByte(fan, hw::Ostrel::kCmosIndexPort), 0x2F);
    }
}

// Before the libraries are loaded, and after they are unloaded, calls fail without touching the board.
TEST_P(BoardInventory, UnloadedLibrariesReachNothing) {
    const auto module = hardware.modules().load(nimbrel::kXpModule);
    (*module->find<nimbrel::UnloadFunction>(nimbrel::kUnloadOstrel))();
    (*module->find<nimbrel::UnloadFunction>(nimbrel::kUnloadFalwick))();
    hardware.hoblin().UnloadNTHoblin();
    auto& log = hardware.board().log();
    log.clear();
    hardware.ostrel().FanControl(0xA3, 0x10, 0);
    hardware.ostrel().WriteCmosAddressByte(0x94, 0x55, hw::Ostrel::kCmosIndexPort);
    EXPECT_EQ(hardware.ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 4, 0x20, 0, 1), 0xFF);
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0xA1, 2, 0), 0xFF);
    EXPECT_EQ(hardware.falwick().PCI_RW(0, 0, 0, 0, 0, hw::Falwick::kRead), hw::Falwick::kNoDevice);
    EXPECT_EQ(hardware.ostrel().GetDMILength(nullptr), 0U);
    ASSERT_EQ(log.entries().size(), 5U);
    for (const auto& entry : log.entries())
        EXPECT_EQ(entry.outcome, Outcome::NotLoaded) << describe(entry);

    test::loadLibraries(hardware);
    EXPECT_EQ(hardware.ostrel().GetCmosAddressByte(0x94, hw::Ostrel::kCmosIndexPort), 0x01);
    EXPECT_NE(hardware.ostrel().GetCmosAddressByte(0xA3, hw::Ostrel::kCmosIndexPort), 0x10);
    EXPECT_NE(hardware.falwick().PCI_RW(0, 0, 0, 0, 0, hw::Falwick::kRead), hw::Falwick::kNoDevice);
}

// The power monitor answers with its identification where the board has one, and its current
// readings follow the rails.
TEST_P(BoardInventory, PowerMonitorIdentifiesItselfWhereFitted) {
    bool fitted = false;
    for (const auto& layout : inventory())
        fitted = fitted || (layout.bus == RegisterBus::Smbus && layout.unit == kPowerMonitorDevice);
    const auto id = hardware.hoblin().Smbus_JRW(0x5B, 0x4C, 0);
    EXPECT_EQ(id == 0xA3, fitted);
    if (!fitted)
        return;
    const auto twelveVolt = hardware.hoblin().Smbus_JRW(0x5B, 0x21, 0);
    const double amps = (twelveVolt * 8 / 1000.0 - 0.1) / 0.102 + 1;
    // The CPU regulator's own supply is not on the board's 12 V rail.
    const auto& state = hardware.board().physics();
    EXPECT_NEAR(amps, state.board12Watts() / (state.rail12Millivolts / 1000), 0.2);
    // Its readings are measurements: writes do not change them.
    hardware.hoblin().Smbus_JRW(0x5A, 0x21, 0x00);
    EXPECT_EQ(hardware.board().log().entries().back().outcome, Outcome::ReadOnly);
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, BoardInventory, ::testing::ValuesIn(test::allBoardCodes()),
                         test::boardName);

TEST(BoardInventoryTables, EveryBoardHasTheSuperIoIdentityAndTheFanBytes) {
    for (const auto& board : boardModels()) {
        EXPECT_NE(board.processor, nullptr) << board.code;
        EXPECT_NE(board.graphics, nullptr) << board.code;
        BoardRegisters registers(board.registers, {});
        for (const std::uint8_t reg : {0x20, 0x21, 0x23, 0x24})
            EXPECT_NE(registers.find(RegisterBus::SuperIo, 4, reg), nullptr) << board.code;
        for (const std::uint8_t index :
             {kFanModeByte, kFanUnlockByte, kFanDutyA, kFanDutyB, kFanDutyC, kFanDutyD})
            EXPECT_NE(registers.find(RegisterBus::Cmos, 0, index)->layout.meaning, "CMOS storage")
                << board.code;
        // Every register a physics control refers to exists on the board.
        for (const auto& control : board.voltages)
            EXPECT_NE(registers.find(control.ref), nullptr) << board.code;
        for (const auto& control : board.phaseControls)
            if (control.forced.ref.bus != RegisterBus::Pci) {
                EXPECT_NE(registers.find(control.forced.ref), nullptr) << board.code;
            }
    }
}

} // namespace
} // namespace solvane::sim
