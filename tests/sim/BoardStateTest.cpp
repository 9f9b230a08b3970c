#include "platform/AtomicFile.h"
#include "sim/BoardStateFile.h"
#include "sim/SimTestSupport.h"
#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace solvane::sim {
namespace {

class BoardState : public ::testing::Test {
protected:
    std::unique_ptr<SimulatedHardware> run(int code = 2917) {
        auto options = sim::test::testOptions(code, clock);
        options.stateFolder = folder.path();
        auto hardware = std::make_unique<SimulatedHardware>(options);
        sim::test::loadLibraries(*hardware);
        return hardware;
    }
    std::filesystem::path stateFile(int code = 2917) const { return boardStatePath(folder.path(), code); }

    solvane::test::TempFolder folder;
    sim::test::ManualClock clock;
};

// What one run writes to the SMBus, Super I/O, ports, CMOS and the processor's PCI register is there in
// the next run, as the hardware keeps it.
TEST_F(BoardState, WrittenRegistersAreThereInTheNextRun) {
    {
        auto first = run(2917);
        first->hoblin().Smbus_JRW(0x32, 0x01, 0x93);
        first->hoblin().Smbus_JRW(0x60, 0x01, 0xC4);
        first->ostrel().WriteCmosAddressByte(0x96, 0x0A, hw::Ostrel::kCmosIndexPort);
        first->ostrel().FanControl(0xA3, 0x9F, 0);
        EXPECT_TRUE(first->board().stateProblem().empty());
    }
    {
        auto second = run(2917);
        EXPECT_EQ(second->hoblin().Smbus_JRW(0x33, 0x01, 0), 0x93);
        EXPECT_EQ(second->hoblin().Smbus_JRW(0x61, 0x01, 0), 0xC4);
        EXPECT_EQ(second->ostrel().GetCmosAddressByte(0x96, hw::Ostrel::kCmosIndexPort), 0x0A);
        EXPECT_EQ(second->ostrel().GetCmosAddressByte(0xA3, hw::Ostrel::kCmosIndexPort), 0x9F);
        EXPECT_EQ(second->board().physics().regulators[0].activePhases, 3);
    }
    {
        auto amd = run(2903);
        amd->falwick().PCI_RW(0, 24, 3, 0xA0, 0x80, hw::Falwick::kWrite);
        amd->ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 6, 0xB1, 0x00, 0);
        auto gpio = run(2904);
        gpio->falwick().BaseByte_RW(0x480, 0x0C, hw::Falwick::kWrite);
    }
    auto amd = run(2903);
    EXPECT_EQ(amd->falwick().PCI_RW(0, 24, 3, 0xA0, 0, hw::Falwick::kRead), 0x80U);
    EXPECT_EQ(amd->ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 6, 0xB1, 0, 1), 0x00);
    EXPECT_EQ(run(2904)->falwick().BaseByte_RW(0x480, 0, hw::Falwick::kRead), 0x0C);
    // Each board keeps its own state.
    EXPECT_EQ(run(2916)->hoblin().Smbus_JRW(0x33, 0x01, 0), 0x90);
}

TEST_F(BoardState, WithoutAStateFolderNothingIsKept) {
    sim::test::ManualClock localClock;
    {
        SimulatedHardware hardware(sim::test::testOptions(2917, localClock));
        sim::test::loadLibraries(hardware);
        hardware.hoblin().Smbus_JRW(0x32, 0x01, 0x93);
    }
    SimulatedHardware hardware(sim::test::testOptions(2917, localClock));
    sim::test::loadLibraries(hardware);
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0x33, 0x01, 0), 0x80);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// Writing a register back to its power-on value, or writing what it already holds, changes nothing
// on disk beyond the list of changed registers; reads never write.
TEST_F(BoardState, OnlyChangesAreWritten) {
    auto hardware = run(2917);
    hardware->hoblin().Smbus_JRW(0x33, 0x01, 0);
    hardware->ostrel().FanControl(0xA3, 0xC8, 0);
    EXPECT_FALSE(std::filesystem::exists(stateFile()));
    hardware->hoblin().Smbus_JRW(0x32, 0x01, 0x91);
    const auto changed = platform::readWholeFile(stateFile());
    ASSERT_TRUE(changed);
    EXPECT_NE(changed->find("smbus 32 01 91\n"), std::string::npos);
    hardware->hoblin().Smbus_JRW(0x32, 0x01, 0x80);
    const auto restored = parseBoardState(*platform::readWholeFile(stateFile()), 2917);
    ASSERT_TRUE(restored);
    EXPECT_TRUE(restored->empty());
}

// A state file that is damaged, truncated, of another board or naming registers the board does not
// have (or cannot write) is not applied at all: the board starts from its power-on state, keeps the
// file aside and says so; the next change writes a good file.
TEST_F(BoardState, ADamagedStateFileFallsBackToPowerOn) {
    {
        auto hardware = run(2917);
        hardware->hoblin().Smbus_JRW(0x32, 0x01, 0x93);
        hardware->ostrel().FanControl(0xB3, 0x40, 0);
    }
    const auto good = *platform::readWholeFile(stateFile());
    const auto flipped = [&] {
        auto text = good;
        text[text.find("93")] = '9';
        text[text.find("93") + 1] = '7';
        return text;
    }();
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"a flipped digit", flipped},
        {"a truncated file", good.substr(0, good.size() / 2)},
        {"an empty file", ""},
        {"random bytes", std::string("\x01\xFF\x00garbage", 11)},
        {"another board's file", formatBoardState(2916, {{RegisterBus::Smbus, 0x32, 0x01, 0x93}})},
        {"a register the board lacks", formatBoardState(2917, {{RegisterBus::Smbus, 0x36, 0x01, 0x93}})},
        {"a read-only register", formatBoardState(2917, {{RegisterBus::Smbus, 0x32, 0x10, 0x00}})},
        {"a PCI register the board lacks", formatBoardState(2917, {{RegisterBus::Pci, 0xC3, 0xA0, 0x80}})},
    };
    for (const auto& [what, text] : damaged) {
        std::filesystem::remove(stateFile().string() + ".damaged");
        ASSERT_TRUE(platform::writeFileAtomically(stateFile(), text).empty());
        auto hardware = run(2917);
        EXPECT_EQ(hardware->hoblin().Smbus_JRW(0x33, 0x01, 0), 0x80) << what;
        EXPECT_EQ(hardware->ostrel().GetCmosAddressByte(0xB3, hw::Ostrel::kCmosIndexPort), 0xB8) << what;
        EXPECT_FALSE(hardware->board().stateProblem().empty()) << what;
        EXPECT_EQ(platform::readWholeFile(stateFile().string() + ".damaged"), text) << what;
        EXPECT_FALSE(std::filesystem::exists(stateFile())) << what;
        hardware->hoblin().Smbus_JRW(0x32, 0x01, 0x91);
        EXPECT_TRUE(parseBoardState(*platform::readWholeFile(stateFile()), 2917)) << what;
    }
}

TEST_F(BoardState, EachDamagedFileIsKeptUnderItsOwnName) {
    for (const char* damage : {"first damage\n", "second damage\n"}) {
        solvane::test::writeFile(stateFile(), damage);
        run(2917);
    }
    EXPECT_EQ(platform::readWholeFile(stateFile().string() + ".damaged"), "first damage\n");
    EXPECT_EQ(platform::readWholeFile(stateFile().string() + ".damaged-2"), "second damage\n");
}

// A folder (or a FIFO, a device) where the state file belongs is named and left alone for the run.
TEST_F(BoardState, WhatIsNoRegularFileIsLeftAloneAndNeverWrittenOver) {
    std::filesystem::create_directory(stateFile());
    auto hardware = run(2917);
    EXPECT_NE(hardware->board().stateProblem().find(stateFile().string()), std::string::npos);
    hardware->hoblin().Smbus_JRW(0x32, 0x01, 0x91);
    EXPECT_TRUE(std::filesystem::is_directory(stateFile()));
    EXPECT_FALSE(std::filesystem::exists(stateFile().string() + ".damaged"));
}

// A report reads the kept state but changes nothing: a damaged file stays in place and register
// writes stay in memory.
TEST_F(BoardState, AReadOnlyBoardChangesNothingOnDisk) {
    solvane::test::writeFile(stateFile(), "damaged\n");
    sim::test::ManualClock localClock;
    auto options = sim::test::testOptions(2917, localClock);
    options.stateFolder = folder.path();
    options.keepState = false;
    SimulatedHardware hardware(options);
    sim::test::loadLibraries(hardware);
    hardware.hoblin().Smbus_JRW(0x32, 0x01, 0x91);
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0x33, 0x01, 0), 0x91);
    EXPECT_FALSE(hardware.board().stateProblem().empty());
    EXPECT_EQ(platform::readWholeFile(stateFile()), "damaged\n");
    EXPECT_FALSE(std::filesystem::exists(stateFile().string() + ".damaged"));
}

TEST(BoardStateFile, RoundTripsEveryBus) {
    const std::vector<StateEntry> entries = {
        {RegisterBus::Smbus, 0x32, 0x01, 0x93},       {RegisterBus::SuperIo, 0x06, 0x81, 0x07},
        {RegisterBus::Port, 0x48C, 0x00, 0x04},       {RegisterBus::Cmos, 0x00, 0x94, 0x04},
        {RegisterBus::Pci, 0x00C3, 0xA0, 0x80000080},
    };
    const auto text = formatBoardState(2905, entries);
    EXPECT_EQ(parseBoardState(text, 2905), entries);
    EXPECT_FALSE(parseBoardState(text, 2902));
    EXPECT_FALSE(parseBoardState(text + "smbus 32 01 93\n", 2905)) << "lines after the checksum";
    EXPECT_TRUE(parseBoardState(formatBoardState(0, {}), 0));
}

// The file is replaced atomically, so a kill in the middle of the program's writes leaves a state the
// next run accepts whole.
TEST_F(BoardState, AKilledRunLeavesAWholeStateFile) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto hardware = run(2917);
        for (unsigned i = 0;; ++i)
            hardware->hoblin().Smbus_JRW(0x60, 0x01, static_cast<std::uint8_t>(0x81 + i % 60));
    }
    // Let the child write for a while, then kill it wherever it is.
    for (int wait = 0; wait < 200 && !std::filesystem::exists(stateFile()); ++wait)
        usleep(10000);
    usleep(50000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(std::filesystem::exists(stateFile()));
    auto hardware = run(2917);
    EXPECT_TRUE(hardware->board().stateProblem().empty()) << hardware->board().stateProblem();
    const auto code = hardware->hoblin().Smbus_JRW(0x61, 0x01, 0);
    EXPECT_GE(code, 0x81);
    EXPECT_LE(code, 0xBC);
}

} // namespace
} // namespace solvane::sim
