#include "hw/BoardSettingRoutinesFixture.h"

#include <gtest/gtest.h>

namespace solvane::hw {
namespace {

using Write = test::FakeRegisters::Write;

TEST_F(BoardSettingRoutinesTest, VoltagesWriteTheirCodeListBytes) {
    struct Case {
        int board;
        Setting setting;
        SettingValue v;
        std::uint8_t device;
        std::uint8_t reg;
        std::uint8_t byte;
    };
    const std::vector<Case> cases{
        {2917, Setting::CpuVoltage, 0, 0x60, 1, 0xD0},    {2917, Setting::CpuVoltage, 16, 0x60, 1, 0xC0},
        {2917, Setting::CpuVoltage, 79, 0x60, 1, 0xBF},   {2918, Setting::CpuVoltage, 17, 0x64, 1, 0x81},
        {2916, Setting::VttFsbVoltage, 3, 0x68, 1, 0xCD}, {2915, Setting::CpuPllVoltage, 0, 0x64, 2, 0x50},
        {2917, Setting::DdrVoltage, 31, 0x50, 1, 0x80},   {2910, Setting::MchVoltage, 0, 0x50, 2, 0x90},
        {2916, Setting::MchVoltage, 0, 0x50, 2, 0x9F},    {2917, Setting::DdrVrefDaB, 79, 0x68, 2, 0x3F},
        {2910, Setting::DdrVrefDaC, 16, 0x6A, 3, 0x40},   {2911, Setting::CpuVoltage, 16, 0x60, 1, 0x80},
        {2911, Setting::DdrVoltage, 41, 0x50, 1, 0x0A},   {2911, Setting::IchVoltage, 0, 0x60, 3, 0x50},
        {2902, Setting::CpuVoltage, 65, 0x60, 2, 0x84},   {2905, Setting::VttFsbVoltage, 12, 0x60, 1, 0xC3},
    };
    for (const auto& c : cases) {
        board(c.board);
        registers.writes.clear();
        apply(c.setting, c.v);
        ASSERT_EQ(registers.writes.size(), 1U) << c.board << " setting " << indexOf(c.setting);
        EXPECT_EQ(registers.writes[0], (Write{"smbus", c.device, c.reg, c.byte}))
            << c.board << " setting " << indexOf(c.setting);
        EXPECT_EQ(at(c.setting), c.v) << "read back, " << c.board << " setting " << indexOf(c.setting);
    }
}

TEST_F(BoardSettingRoutinesTest, AValueWithoutACodeIsNeverWritten) {
    apply(Setting::CpuVoltage, 80);
    apply(Setting::DdrVoltage, -7);
    board(2910);
    apply(Setting::MchVoltage, 144); // C[144 + 15] is past the list
    EXPECT_TRUE(registers.writes.empty());
}

TEST_F(BoardSettingRoutinesTest, ReadBackMapsZeroToTheNeutralCodeAndIgnoresUnknownBytes) {
    at(Setting::CpuVoltage) = 3;
    routines.ReadBack(indexOf(Setting::CpuVoltage));
    EXPECT_EQ(at(Setting::CpuVoltage), 16) << "0 reads as 0xC0, list B's index 16";
    registers.smbusRegister(0x60, 1) = 0x10; // no CPU option has this code
    routines.ReadBack(indexOf(Setting::CpuVoltage));
    EXPECT_EQ(at(Setting::CpuVoltage), 16);

    // 2910's northbridge codes start 15 entries into list C: a byte before them is no option.
    board(2910);
    at(Setting::MchVoltage) = 4;
    registers.smbusRegister(0x50, 2) = 0x9F; // C[0]
    routines.ReadBack(indexOf(Setting::MchVoltage));
    EXPECT_EQ(at(Setting::MchVoltage), 4);
    registers.smbusRegister(0x50, 2) = 0x8F; // C[16]
    routines.ReadBack(indexOf(Setting::MchVoltage));
    EXPECT_EQ(at(Setting::MchVoltage), 1);

    // DDR voltage on 2915 cannot be read back.
    board(2915);
    at(Setting::DdrVoltage) = 9;
    routines.ReadBack(indexOf(Setting::DdrVoltage));
    EXPECT_EQ(at(Setting::DdrVoltage), 9);
}

TEST_F(BoardSettingRoutinesTest, OptionsSharingACodeKeepTheOneChosen) {
    board(2902);
    apply(Setting::CpuVoltage, 64);
    EXPECT_EQ(registers.smbusRegister(0x60, 2), 0x44);
    EXPECT_EQ(at(Setting::CpuVoltage), 64) << "0x44 is also option 26";
    at(Setting::CpuVoltage) = 3;
    routines.ReadBack(indexOf(Setting::CpuVoltage));
    EXPECT_EQ(at(Setting::CpuVoltage), 26) << "without a matching value the first option is taken";
}

TEST_F(BoardSettingRoutinesTest, TheSharedNibbleOf2902MovesBothSettings) {
    board(2902);
    registers.smbusRegister(0x50, 2) = 0xA7;
    apply(Setting::DdrVrefCaA, 5);
    EXPECT_EQ(registers.smbusRegister(0x50, 2), 0xA5);
    EXPECT_EQ(at(Setting::MchVoltage), 5);
    apply(Setting::MchVoltage, 3);
    EXPECT_EQ(at(Setting::DdrVrefCaA), 3);
    EXPECT_EQ(registers.smbusRegister(0x50, 2), 0xA3);

    registers.smbusRegister(0x50, 1) = 0x3C;
    apply(Setting::DdrVoltage, 9);
    EXPECT_EQ(registers.smbusRegister(0x50, 1), 0x9C) << "high nibble only";
    apply(Setting::IchVoltage, 2);
    EXPECT_EQ(registers.smbusRegister(0x50, 1), 0x92);
    EXPECT_EQ(at(Setting::DdrVoltage), 9);
    at(Setting::CpuPllVoltage) = 0;
    routines.ReadBack(indexOf(Setting::CpuPllVoltage));
    EXPECT_EQ(at(Setting::CpuPllVoltage), 3);

    registers.writes.clear();
    apply(Setting::DdrVoltage, 16);
    EXPECT_TRUE(registers.writes.empty()) << "16 does not fit a nibble";
}

TEST_F(BoardSettingRoutinesTest, AllLedOn2917SetsEveryLedInOnePassPerRegister) {
    registers.smbusRegister(0x34, 0x01) = 0xFF;
    registers.smbusRegister(0x34, 0x11) = 0x03;
    apply(Setting::AllLed, 1);
    EXPECT_EQ(registers.writes,
              (std::vector<Write>{{"smbus", 0x34, 0x01, 0xA7}, {"smbus", 0x34, 0x11, 0x06}}));
    for (int led = indexOf(Setting::CpuPhaseLed); led <= indexOf(Setting::PcieSlotLed); ++led)
        EXPECT_EQ(values[static_cast<std::size_t>(led)], 1) << led;
    // Each LED reads back on from the registers just written.
    for (int led = indexOf(Setting::CpuPhaseLed); led <= indexOf(Setting::PcieSlotLed); ++led) {
        values[static_cast<std::size_t>(led)] = 7;
        routines.ReadBack(led);
        EXPECT_EQ(values[static_cast<std::size_t>(led)], 1) << led;
    }
    apply(Setting::AllLed, 0);
    for (int led = indexOf(Setting::CpuPhaseLed); led <= indexOf(Setting::PcieSlotLed); ++led) {
        routines.ReadBack(led);
        EXPECT_EQ(values[static_cast<std::size_t>(led)], 0) << led;
    }
}

TEST_F(BoardSettingRoutinesTest, TheCpuPhaseLedOf2911TogglesOnEveryApplication) {
    board(2911);
    registers.sio[0xD1] = 0x15;
    apply(Setting::CpuPhaseLed, 1);
    EXPECT_EQ(registers.sio[0xD1], 0x95);
    EXPECT_EQ(at(Setting::CpuPhaseLed), 0) << "bit 7 set reads as off";
    apply(Setting::CpuPhaseLed, 1);
    EXPECT_EQ(registers.sio[0xD1], 0x15);
    EXPECT_EQ(at(Setting::CpuPhaseLed), 1);
}

TEST_F(BoardSettingRoutinesTest, The2904LedFollowsTheBoardStrap) {
    board(2904);
    registers.ports[0x48F] = 0x0C;
    apply(Setting::CpuPhaseLed, 1);
    EXPECT_EQ(registers.sio[0xD0] & 0x02, 0x02);
    EXPECT_EQ(registers.sio[0xD1] & 0x02, 0x00);
    EXPECT_EQ(at(Setting::CpuPhaseLed), 1);

    registers.writes.clear();
    registers.ports[0x48F] = 0x00;
    apply(Setting::CpuPhaseLed, 0);
    EXPECT_TRUE(registers.writes.empty()) << "an early board without the strap has no such LED";
    board(2904, "6.0");
    apply(Setting::CpuPhaseLed, 0);
    EXPECT_EQ(registers.ports[0x48C] & 0x04, 0x04);
    EXPECT_EQ(at(Setting::CpuPhaseLed), 0);
}

TEST_F(BoardSettingRoutinesTest, PhaseSwitchesAndTheirLevelCounts) {
    registers.smbusRegister(0x32, 0x01) = 0x40;
    registers.smbusRegister(0x33, 0x10) = 0x20;
    apply(Setting::DdrPhase, 1);
    EXPECT_EQ(registers.smbusRegister(0x32, 0x01), 0x00) << "bit 6 clear holds a fixed count";
    EXPECT_EQ(at(Setting::DdrPhase), 1);
    EXPECT_EQ(state.levelCount(Setting::DdrPhase), 2);
    apply(Setting::DdrPhase, 0);
    EXPECT_EQ(at(Setting::DdrPhase), 0);

    board(2915);
    registers.smbusRegister(0x3C, 0x10) = 0x20;
    apply(Setting::DdrPhase, 2);
    EXPECT_EQ(state.levelCount(Setting::DdrPhase), 3);
    EXPECT_EQ(at(Setting::DdrPhase), 2);

    board(2911);
    registers.sio[0x82] = 0x10;
    apply(Setting::MchPhase, 1);
    EXPECT_EQ(registers.sio[0x81] & 0x02, 0x00);
    EXPECT_EQ(at(Setting::MchPhase), 1);
    EXPECT_FALSE(registers.smbus.count({0x34, 0x01})) << "2911 does not touch the 2915 phase controller";
}

TEST_F(BoardSettingRoutinesTest, CpuPhaseWriteRecordsThePhaseAndItsStep) {
    registers.smbusRegister(0x33, 0x10) = 0x0F;
    registers.smbusRegister(0x33, 0x00) = 0x08;
    apply(Setting::CpuPhase, 3);
    EXPECT_EQ(registers.smbusRegister(0x32, 0x01), 0x91);
    EXPECT_EQ(state.currentPhase, 3);
    EXPECT_EQ(state.previousPhase, 3);
    EXPECT_EQ(state.levelCount(Setting::CpuPhase), 6);
    EXPECT_EQ(at(Setting::CpuPhase), 3) << "the level written is the level read";
    EXPECT_EQ(state.phaseStep, 4);

    board(2903);
    apply(Setting::CpuPhase, 1);
    EXPECT_EQ(registers.northbridge[0xA0] & 0x80, 0x80U);
    EXPECT_EQ(at(Setting::CpuPhase), 0);
    EXPECT_EQ(state.phaseStep, 0);
}

TEST_F(BoardSettingRoutinesTest, PairsWithoutARowWriteNothing) {
    for (const int code : {2901, 2908, 2909, 2913, 2914, 2999}) {
        board(code);
        for (int k = 0; k < static_cast<int>(kSettingSlots); ++k) {
            if (k == indexOf(Setting::CpuPhase) || k == indexOf(Setting::CpuPhaseLed))
                continue; // 2901 switches its phases and LED through Super I/O
            values[static_cast<std::size_t>(k)] = 1;
            routines.Apply(k);
        }
        EXPECT_TRUE(registers.writes.empty()) << code;
    }
    board(2917);
    for (const auto setting : {Setting::GtlRef1Voltage, Setting::GtlRef2Voltage, Setting::NbGtlRef,
                               Setting::SmartFan, Setting::CpuLoadLineLed, Setting::HdLed})
        apply(setting, 1);
    EXPECT_TRUE(registers.writes.empty());
}

TEST_F(BoardSettingRoutinesTest, NothingRunsWhileChecksAreOffOrAWriteIsBusy) {
    state.checksEnabled = false;
    apply(Setting::CpuVoltage, 5);
    state.checksEnabled = true;
    state.busy = true;
    apply(Setting::CpuVoltage, 5);
    EXPECT_TRUE(registers.writes.empty());
}

TEST_F(BoardSettingRoutinesTest, StableRangeEdgesAskForConfirmation) {
    for (const auto& [v, asks] :
         std::vector<std::pair<int, bool>>{{12, true}, {13, false}, {47, false}, {48, true}}) {
        prompt = platform::ScriptedPrompt();
        at(Setting::CpuVoltage) = v;
        routines.CheckAndApply(indexOf(Setting::CpuVoltage));
        EXPECT_EQ(!prompt.asked().empty(), asks) << v;
    }
    const auto& warning = prompt.asked().front();
    EXPECT_EQ(warning.text, "This is not a stable CPU voltage !\nDo you want to do it?");
    EXPECT_EQ(warning.caption, "Warning!");
    EXPECT_EQ(warning.buttons, platform::PromptButtons::OkCancel);
}

TEST_F(BoardSettingRoutinesTest, CancelRestoresTheRememberedValueWithoutAWrite) {
    state.rememberedValue = 20;
    at(Setting::DdrVrefDaC) = 50;
    prompt.queue(platform::PromptAnswer::Cancel);
    routines.CheckAndApply(indexOf(Setting::DdrVrefDaC));
    EXPECT_EQ(prompt.texts().front(), "This is not a stable DDR ref voltage !\nDo you want to do it?");
    EXPECT_EQ(at(Setting::DdrVrefDaC), 20);
    EXPECT_TRUE(registers.writes.empty());

    at(Setting::IchVoltage) = 45;
    routines.CheckAndApply(indexOf(Setting::IchVoltage)); // answered OK
    EXPECT_EQ(pending, indexOf(Setting::IchVoltage));
    EXPECT_EQ(registers.writes.size(), 1U);
}

TEST_F(BoardSettingRoutinesTest, HighLoadRefusesTooFewPhases) {
    state.cpuPower = 7500;
    state.previousPhase = 5;
    state.rememberedValue = 5;
    at(Setting::CpuPhase) = 3;
    routines.CheckAndApply(indexOf(Setting::CpuPhase));
    EXPECT_EQ(prompt.texts(),
              std::vector<std::string>{
                  "You can not adjust CPU to this phase now because CPU loading is too high !"});
    EXPECT_EQ(prompt.asked().front().caption, "");
    EXPECT_EQ(at(Setting::CpuPhase), 5);
    EXPECT_TRUE(registers.writes.empty());

    at(Setting::CpuPhase) = 4;
    routines.CheckAndApply(indexOf(Setting::CpuPhase));
    EXPECT_EQ(prompt.asked().size(), 1U);
    EXPECT_EQ(registers.writes.size(), 1U);
    EXPECT_EQ(state.previousPhase, 4);

    // 2912 has thresholds of its own; automatic phases are never refused.
    board(2912);
    state.cpuPower = 450;
    at(Setting::CpuPhase) = 2;
    routines.CheckAndApply(indexOf(Setting::CpuPhase));
    EXPECT_EQ(prompt.asked().size(), 2U);
    state.cpuPower = 100000;
    at(Setting::CpuPhase) = 0;
    routines.CheckAndApply(indexOf(Setting::CpuPhase));
    EXPECT_EQ(prompt.asked().size(), 2U);
}

// Each load step of every board group at its edge and one past it: the power just above the
// threshold refuses the step's highest level, the threshold itself and the next level pass.
TEST_F(BoardSettingRoutinesTest, LoadRefusalOfEveryStepAtItsEdges) {
    struct Group {
        int board;
        int maxPhases;
        std::vector<std::pair<int, SettingValue>> steps; // threshold, highest refused level
    };
    const std::vector<Group> groups{
        {2917, 6, {{5000, 1}, {6000, 2}, {7000, 3}, {8000, 4}}},
        {2915, 6, {{5000, 1}, {6000, 2}, {7000, 3}, {8000, 4}}},
        {2910, 5, {{5000, 1}, {6000, 2}, {7000, 3}}},
        {2911, 4, {{5000, 1}, {6000, 2}, {7000, 3}}},
        {2912, 4, {{300, 1}, {400, 2}, {550, 3}}},
    };
    const auto refused = [&](int power, SettingValue level) {
        prompt = platform::ScriptedPrompt();
        state.cpuPower = power;
        state.previousPhase = 0;
        state.rememberedValue = 0;
        at(Setting::CpuPhase) = level;
        routines.CheckAndApply(indexOf(Setting::CpuPhase));
        return !prompt.texts().empty();
    };
    for (const auto& group : groups) {
        board(group.board, "1.0", group.maxPhases);
        for (const auto& [threshold, level] : group.steps) {
            const auto where = std::to_string(group.board) + " at " + std::to_string(threshold);
            EXPECT_TRUE(refused(threshold + 1, level)) << where;
            EXPECT_FALSE(refused(threshold, level)) << where;
            EXPECT_FALSE(refused(threshold + 1, level + 1)) << where;
            EXPECT_FALSE(refused(1000000, 0)) << "automatic is never refused, " << group.board;
        }
    }
    // The 8000 step holds only on boards with six CPU phases.
    board(2917, "1.0", 5);
    EXPECT_FALSE(refused(8001, 4));
    EXPECT_TRUE(refused(8001, 3));
}

TEST_F(BoardSettingRoutinesTest, ReadingEverySettingVisitsTheLedsInTheirOrder) {
    // Every setting present, at its power-on value; the board lacks GTL_REF1.
    values.fill(0);
    at(Setting::GtlRef1Voltage) = kNotPresent;
    registers.smbusRegister(0x60, 1) = 0xC5; // CPU option 11
    registers.smbusRegister(0x34, 0x01) = 0x21;
    at(Setting::AllLed) = 1;
    routines.ReadBack(kReadAllSettings);
    EXPECT_EQ(at(Setting::CpuVoltage), 11);
    EXPECT_EQ(at(Setting::PciSlotLed), 1);
    EXPECT_EQ(at(Setting::DdrPhaseLed), 1);
    EXPECT_EQ(at(Setting::AllLed), 1) << "ALL_LED has no read-back: it keeps its value";
    EXPECT_EQ(at(Setting::GtlRef1Voltage), kNotPresent);
    EXPECT_TRUE(registers.writes.empty()) << "reading never writes";
}

TEST_F(BoardSettingRoutinesTest, ASettingTheBoardLacksStaysAbsentWhateverItsRegistersRead) {
    board(2909);
    registers.sio[0xC2] = 0x05; // two phases at work
    at(Setting::CpuPhase) = kNotPresent;
    routines.ReadBack(indexOf(Setting::CpuPhase));
    EXPECT_EQ(at(Setting::CpuPhase), kNotPresent);
    at(Setting::CpuPhase) = 1;
    routines.ReadBack(indexOf(Setting::CpuPhase));
    EXPECT_EQ(at(Setting::CpuPhase), 2) << "present, it reads back";
}

TEST_F(BoardSettingRoutinesTest, ANibbleBeyondTheOptionsOf2902KeepsTheSetting) {
    board(2902);
    values.fill(0);
    registers.smbusRegister(0x50, 1) = 0xFF;
    registers.smbusRegister(0x50, 2) = 0xFC;
    at(Setting::IchVoltage) = 4;
    at(Setting::DdrVoltage) = 6;
    at(Setting::MchVoltage) = 7;
    at(Setting::DdrVrefCaA) = 7;
    routines.ReadBack(kReadAllSettings);
    EXPECT_EQ(at(Setting::IchVoltage), 4) << "12 options: 15 is none of them";
    EXPECT_EQ(at(Setting::DdrVoltage), 6) << "15 options: 15 is none of them";
    EXPECT_EQ(at(Setting::MchVoltage), 12) << "15 options: 12 is the last but two";
    EXPECT_EQ(at(Setting::DdrVrefCaA), 7) << "12 options: 12 is none of them";
    registers.smbusRegister(0x50, 1) = 0xEB;
    routines.ReadBack(kReadAllSettings);
    EXPECT_EQ(at(Setting::DdrVoltage), 14);
    EXPECT_EQ(at(Setting::IchVoltage), 11);
}

TEST_F(BoardSettingRoutinesTest, TheNorthbridgePhasesOf2911ReadBack) {
    board(2911);
    at(Setting::MchPhase) = 0;
    registers.sio[0x81] = 0x00; // bit 1 clear: fixed
    registers.sio[0x82] = 0x10; // bit 4: two levels
    routines.ReadBack(indexOf(Setting::MchPhase));
    EXPECT_EQ(at(Setting::MchPhase), 1);
    EXPECT_EQ(state.levelCount(Setting::MchPhase), 2);
    registers.sio[0x82] = 0x08; // the memory's bit, not the northbridge's
    routines.ReadBack(indexOf(Setting::MchPhase));
    EXPECT_EQ(state.levelCount(Setting::MchPhase), 1);
    EXPECT_EQ(at(Setting::MchPhase), 0) << "one level: fixed reads as 0";
    apply(Setting::MchPhase, 0);
    EXPECT_EQ(registers.sio[0x81] & 0x02, 0x02) << "automatic sets bit 1";
    EXPECT_EQ(at(Setting::MchPhase), 0);
}

TEST_F(BoardSettingRoutinesTest, AllLedOf2911KeepsTheMemoryAndNorthbridgeLedsAsTheyAre) {
    board(2911);
    values.fill(0);
    registers.sio[0xF1] = 0x00;
    // Both LEDs on AUTO (0): all LEDs on AUTO must read them back as AUTO.
    apply(Setting::AllLed, 0);
    EXPECT_EQ(registers.sio[0xF1], 0x07);
    EXPECT_EQ(at(Setting::DdrPhaseLed), 0);
    EXPECT_EQ(at(Setting::MchPhaseLed), 0);
    routines.ReadBack(kReadAllSettings);
    EXPECT_EQ(at(Setting::DdrPhaseLed), 0);
    EXPECT_EQ(at(Setting::MchPhaseLed), 0);
    // The memory LED OFF (1) stays OFF.
    at(Setting::DdrPhaseLed) = 1;
    apply(Setting::AllLed, 1);
    EXPECT_EQ(registers.sio[0xF1], 0x04);
    routines.ReadBack(kReadAllSettings);
    EXPECT_EQ(at(Setting::DdrPhaseLed), 1);
    EXPECT_EQ(at(Setting::MchPhaseLed), 0);
    EXPECT_EQ(at(Setting::PowerResetLed), 1);
}

TEST_F(BoardSettingRoutinesTest, CpuPhaseLevelsOf2915LeaveTheLoadLineLedAlone) {
    board(2915);
    values.fill(0);
    registers.smbusRegister(0x35, 0x10) = 0x1F;
    for (const SettingValue led : {0, 1}) {
        apply(Setting::CpuLoadLineLed, led);
        for (const SettingValue level : {3, 1, 0, 5}) {
            apply(Setting::CpuPhase, level);
            EXPECT_EQ(at(Setting::CpuPhase), level);
            routines.ReadBack(indexOf(Setting::CpuLoadLineLed));
            EXPECT_EQ(at(Setting::CpuLoadLineLed), led) << "level " << level;
        }
    }
}

} // namespace
} // namespace solvane::hw
