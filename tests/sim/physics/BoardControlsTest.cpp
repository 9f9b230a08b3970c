#include "sim/SimTestSupport.h"
#include "sim/boards/CommonBoardData.h"

#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

namespace nimbrel = hw::nimbrel;
using std::chrono::seconds;

constexpr auto kCore = static_cast<std::size_t>(Regulator::CpuCore);

class BoardControls : public ::testing::Test {
protected:
    SimulatedHardware& make(int code, double load = 0.0, std::string version = {}) {
        auto options = test::testOptions(code, clock, load);
        options.baseboardVersion = std::move(version);
        hardware = std::make_unique<SimulatedHardware>(options);
        test::loadLibraries(*hardware);
        return *hardware;
    }
    int cpuPhases() { return hardware->board().physics().regulators[kCore].activePhases; }
    void smbusWrite(std::uint8_t device, std::uint8_t reg, std::uint8_t value) {
        hardware->hoblin().Smbus_JRW(device, reg, value);
    }
    void sioWrite(std::uint8_t reg, std::uint8_t value) {
        hardware->ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 6, reg, value, 0);
    }
    std::uint8_t sioRead(std::uint8_t reg) {
        return hardware->ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 6, reg, 0, 1);
    }
    void portWrite(std::uint16_t address, std::uint8_t value) {
        hardware->falwick().BaseByte_RW(address, value, hw::Falwick::kWrite);
    }

    test::ManualClock clock;
    std::unique_ptr<SimulatedHardware> hardware;
};

// The phase patterns the board routines write hold the regulator at one more phase than the option
// number; with the hold bit clear the regulator sheds phases at light load by itself.
TEST_F(BoardControls, PhaseRegistersHoldTheRegulatorsPhaseCount) {
    struct Case {
        int board;
        std::uint8_t device;
        std::uint8_t reg;
        std::uint8_t value;
        int phases;
    };
    const Case cases[] = {
        {2917, 0x32, 0x01, 0x97, 2}, {2917, 0x32, 0x01, 0x93, 3}, {2917, 0x32, 0x01, 0x91, 4},
        {2917, 0x32, 0x01, 0x90, 5}, {2917, 0x32, 0x01, 0x80, 6}, {2917, 0x32, 0x01, 0x17, 1},
        {2916, 0x32, 0x01, 0x97, 2}, {2916, 0x32, 0x01, 0x90, 5}, {2915, 0x34, 0x01, 0x5F, 2},
        {2915, 0x34, 0x01, 0x50, 6}, {2910, 0x36, 0x01, 0x9F, 2}, {2910, 0x36, 0x01, 0x90, 6},
        {2918, 0x30, 0x01, 0x80, 5}, {2906, 0x30, 0x11, 0x08, 2},
    };
    for (const auto& c : cases) {
        make(c.board);
        smbusWrite(c.device, c.reg, c.value);
        EXPECT_EQ(cpuPhases(), c.phases) << c.board << " value " << int{c.value};
    }
}

TEST_F(BoardControls, Board2912HoldsPhasesByItsSheddingCode) {
    make(2912);
    EXPECT_EQ(cpuPhases(), 1); // idle, free-running
    smbusWrite(0x30, 0x11, 0x08);
    for (const auto& [code, phases] : {std::pair{5, 2}, std::pair{4, 3}, std::pair{0, 4}}) {
        smbusWrite(0x30, 0x01, static_cast<std::uint8_t>(code));
        EXPECT_EQ(cpuPhases(), phases) << code;
    }
}

TEST_F(BoardControls, SuperIoPhaseControlOfBoards2911And2907) {
    for (const int code : {2911, 2907}) {
        make(code);
        const auto base = static_cast<std::uint8_t>(sioRead(0x81) & 0x0E);
        for (const auto& [pattern, phases] : {std::pair{0xB1, 2}, std::pair{0x31, 3}, std::pair{0x11, 4}}) {
            sioWrite(0x81, static_cast<std::uint8_t>(base | pattern));
            EXPECT_EQ(cpuPhases(), phases) << code << " " << pattern;
        }
        sioWrite(0x81, base);
        EXPECT_EQ(cpuPhases(), 1) << code;
    }
}

// The processor's power-saving indicator (PCI 0:24:3 0xA0 bit 7) lets the regulator shed phases;
// the base-voltage bits of 0xE8 tell 2902 and 2905 apart and ignore writes.
TEST_F(BoardControls, NorthbridgeFunctionOfTheAmdBoards) {
    for (const int code : {2903, 2902, 2905}) {
        auto& hw = make(code);
        const auto& model = hw.board().model();
        EXPECT_EQ(cpuPhases(), model.phases[kCore]) << code;
        const auto before = hw.falwick().PCI_RW(0, 24, 3, 0xA0, 0, hw::Falwick::kRead);
        hw.falwick().PCI_RW(0, 24, 3, 0xA0, before | 0x80, hw::Falwick::kWrite);
        EXPECT_EQ(hw.falwick().PCI_RW(0, 24, 3, 0xA0, 0, hw::Falwick::kRead), before | 0x80) << code;
        EXPECT_EQ(cpuPhases(), 1) << code;
    }
    EXPECT_EQ((make(2902).falwick().PCI_RW(0, 24, 3, 0xE8, 0, hw::Falwick::kRead) >> 12) & 3U, 0U);
    auto& hw2905 = make(2905);
    EXPECT_EQ((hw2905.falwick().PCI_RW(0, 24, 3, 0xE8, 0, hw::Falwick::kRead) >> 12) & 3U, 1U);
    hw2905.falwick().PCI_RW(0, 24, 3, 0xE8, 0, hw::Falwick::kWrite);
    EXPECT_EQ((hw2905.falwick().PCI_RW(0, 24, 3, 0xE8, 0, hw::Falwick::kRead) >> 12) & 3U, 1U);
    // The function's identity is not writable.
    hw2905.falwick().PCI_RW(0, 24, 3, 0x00, 0x12345678, hw::Falwick::kWrite);
    EXPECT_EQ(hw2905.falwick().PCI_RW(0, 24, 3, 0x00, 0, hw::Falwick::kRead), 0x12031022U);
}

// Board 2904 wires its phase line to a Super I/O GPIO before revision 6 and to an ICH GPIO from
// revision 6 on; the ICH straps at port 0x48F tell the two apart. A line drives the regulator only
// when it is set up as an output.
TEST_F(BoardControls, Board2904PhaseLineFollowsItsRevision) {
    auto& early = make(2904);
    EXPECT_EQ(early.falwick().BaseByte_RW(0x48F, 0, hw::Falwick::kRead) & 0x1C, 0x0C);
    sioWrite(0xD1, 0x02); // line low, but not an output yet
    EXPECT_EQ(cpuPhases(), 1);
    sioWrite(0xD0, 0x01);
    EXPECT_EQ(cpuPhases(), 2);
    portWrite(0x480, 0x08);
    portWrite(0x484, 0xF7);
    portWrite(0x48C, 0x04);
    sioWrite(0xD1, 0x03);
    EXPECT_EQ(cpuPhases(), 1) << "the ICH line is not wired before revision 6";

    auto& late = make(2904, 0.0, "6.0");
    EXPECT_EQ(late.falwick().BaseByte_RW(0x48F, 0, hw::Falwick::kRead) & 0x1C, 0x1C);
    portWrite(0x48F, 0x00); // the straps are inputs
    EXPECT_EQ(late.falwick().BaseByte_RW(0x48F, 0, hw::Falwick::kRead) & 0x1C, 0x1C);
    sioWrite(0xD0, 0x01);
    sioWrite(0xD1, 0x00);
    EXPECT_EQ(cpuPhases(), 1) << "the Super I/O line is not wired from revision 6 on";
    portWrite(0x48C, 0x04);
    EXPECT_EQ(cpuPhases(), 1);
    portWrite(0x480, 0x08);
    EXPECT_EQ(cpuPhases(), 1);
    portWrite(0x484, 0xF7);
    EXPECT_EQ(cpuPhases(), 2);
}

TEST_F(BoardControls, Board2901PhaseLineNeedsItsOutputEnabled) {
    make(2901);
    sioWrite(0xD1, 0x00);
    EXPECT_EQ(cpuPhases(), 1);
    sioWrite(0xD0, 0x01);
    EXPECT_EQ(cpuPhases(), 2);
}

// Board 2909 reports the phases its regulator runs on GPIO inputs: 0x01 for one, 0x05 for two,
// 0x07 for three.
TEST_F(BoardControls, Board2909ReportsItsActivePhases) {
    constexpr int kLines[] = {0, 0x01, 0x05, 0x07};
    for (const double load : {0.0, 0.3, 1.0}) {
        make(2909, load);
        EXPECT_EQ(sioRead(0xC2) & 7, kLines[cpuPhases()]) << load;
    }
    EXPECT_EQ(cpuPhases(), 3);
    sioWrite(0xC2, 0x00);
    EXPECT_EQ(sioRead(0xC2) & 7, 0x07);
}

TEST_F(BoardControls, Board2911RailMonitor) {
    make(2911, 0.5);
    const auto& state = hardware->board().physics();
    EXPECT_NEAR(hardware->hoblin().Smbus_JRW(0x5D, 0x11, 0) * 880.0, state.rail12Millivolts, 440);
    EXPECT_NEAR(hardware->hoblin().Smbus_JRW(0x5D, 0x12, 0) * 1976.0 / 47 * 10, state.rail5Millivolts, 210);
}

// Voltage codes move the regulators' outputs: the core offset (code B, and the own codes of 2902),
// the memory level nibble of 2902, and the memory code of the Intel boards.
TEST_F(BoardControls, VoltageCodesSetTheRegulatorOutputs) {
    // The regulator's output before its load line of 0.8 mV per ampere.
    const auto setpoint = [](const PhysicsState& state) {
        return state.coreMillivolts + 0.8 * state.cpuAmps;
    };
    make(2917, 1.0);
    const auto nominal = hardware->board().physics();
    smbusWrite(0x60, 0x01, 0xC5); // 5 steps of 20 mV down
    EXPECT_NEAR(setpoint(hardware->board().physics()), setpoint(nominal) - 100, 0.01);
    smbusWrite(0x60, 0x01, 0x8A); // 10 steps of 10 mV up
    EXPECT_NEAR(setpoint(hardware->board().physics()), setpoint(nominal) + 100, 0.01);
    EXPECT_GT(hardware->board().physics().cpuWatts, nominal.cpuWatts);
    smbusWrite(0x50, 0x01, 0x9E); // memory 300 mV down
    EXPECT_NEAR(
        hardware->board().physics().regulators[static_cast<std::size_t>(Regulator::Memory)].millivolts, 1200,
        1);
    EXPECT_LT(hardware->board().physics().rail5Amps, nominal.rail5Amps);

    make(2902, 1.0);
    const auto base = hardware->board().physics();
    smbusWrite(0x60, 0x02, 0xD0); // the lowest core code: 16 steps of 20.8 mV down
    EXPECT_NEAR(setpoint(hardware->board().physics()), setpoint(base) - 332.8, 0.01);
    smbusWrite(0x50, 0x01, 0xE0); // memory level 14 (2.42 V), southbridge level 0
    EXPECT_NEAR(
        hardware->board().physics().regulators[static_cast<std::size_t>(Regulator::Memory)].millivolts, 2420,
        1);
}

// Firmware fan control: the CPU fan follows the firmware curve until the program unlocks its duty
// byte and selects manual mode, as its fan preparation does; then FanControl sets its speed.
TEST_F(BoardControls, FanDutyBytesTakeEffectOnceUnlocked) {
    auto& hw = make(2917, 0.2);
    auto& ostrel = hw.ostrel();
    const double curveRpm = hw.board().physics().fanRpm;
    ostrel.FanControl(kFanDutyA, 0xFF, 0);
    clock.advance(seconds(30));
    EXPECT_NEAR(hw.board().physics().fanRpm, curveRpm, 1) << "locked: the curve keeps the fan";

    ostrel.WriteCmosAddressByte(kFanUnlockByte, 0x0A, hw::Ostrel::kCmosIndexPort);
    ostrel.WriteCmosAddressByte(kFanModeByte, 0x04, hw::Ostrel::kCmosIndexPort);
    clock.advance(seconds(30));
    EXPECT_NEAR(hw.board().physics().fanRpm, 2400, 1);
    ostrel.FanControl(kFanDutyA, 0x7F, 0);
    clock.advance(seconds(1));
    const double moving = hw.board().physics().fanRpm;
    clock.advance(seconds(30));
    const double settled = hw.board().physics().fanRpm;
    EXPECT_GT(moving, settled + 100) << "the rotor slows down over seconds";
    EXPECT_NEAR(settled, 2400 * (0.15 + 0.85 * 0x7F / 255.0), 1);
    nimbrel::SensorArray values{};
    ASSERT_EQ(
        (*hw.modules().load(nimbrel::kXpModule)->find<nimbrel::GetVolFunction>(nimbrel::kGetVol))(values), 1);
    EXPECT_NEAR(values[8], settled, 1);
}

// The power-saving library's calls change the physics: throttling and the power plan hold the clock
// back, disabling the unused SATA ports saves on the 3.3 V rail.
TEST_F(BoardControls, PowerSavingCallsChangeThePhysics) {
    auto& hw = make(2917, 1.0);
    const auto module = hw.modules().load(nimbrel::kVistaModule);
    const auto& throttling = *module->find<nimbrel::ModeFunction>(nimbrel::kCpuThrottling);

    const double free = hw.board().physics().cpuWatts;
    EXPECT_EQ(throttling(7), 1);
    EXPECT_LT(hw.board().physics().cpuWatts, free * 0.8);
    EXPECT_EQ(throttling(8), 1);
    EXPECT_NEAR(hw.board().physics().cpuWatts, free, 0.5);
    EXPECT_EQ(throttling(5), 0);

    make(2917, 0.0);
    const auto module2 = hardware->modules().load(nimbrel::kVistaModule);
    const auto& setMode = *module2->find<nimbrel::ModeFunction>(nimbrel::kSetPowerMode);
    EXPECT_EQ(setMode(6), 1);
    const double balanced = hardware->board().physics().cpuWatts;
    EXPECT_EQ(setMode(8), 1);
    EXPECT_GT(hardware->board().physics().cpuWatts, balanced * 1.3) << "high performance keeps the clock up";
    EXPECT_EQ((*module2->find<nimbrel::QueryFunction>(nimbrel::kGetPowerMode))(), 8);
    EXPECT_EQ(setMode(4), 0);
    EXPECT_EQ((*module2->find<nimbrel::QueryFunction>(nimbrel::kGetPowerMode))(), 8);

    const double allPorts = hardware->board().physics().rail33Amps;
    EXPECT_EQ((*module2->find<nimbrel::SataFunction>(nimbrel::kDisableSata))(), 1);
    EXPECT_LT(hardware->board().physics().rail33Amps, allPorts);
    EXPECT_EQ((*module2->find<nimbrel::SataFunction>(nimbrel::kEnableSata))(), 1);
    EXPECT_NEAR(hardware->board().physics().rail33Amps, allPorts, 1e-9);
    EXPECT_EQ((*module2->find<nimbrel::QueryFunction>(nimbrel::kUsedNoSata))() +
                  (*module2->find<nimbrel::QueryFunction>(nimbrel::kUnusedNoSata))(),
              6);
}

} // namespace
} // namespace solvane::sim
