#include "sim/images/SpdImage.h"

#include "platform/AtomicFile.h"
#include "sim/SimTestSupport.h"
#include "support/TempFolder.h"

#include <bit>
#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& file) {
    const auto text = platform::readWholeFile(file);
    return text ? std::vector<std::uint8_t>(text->begin(), text->end()) : std::vector<std::uint8_t>{};
}

// The CRC and the checksum reproduce what the makers stored in real modules' EEPROMs.
TEST(SpdChecks, ReproduceRealModules) {
    const auto folder = solvane::test::realDataFolder();
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "spd" / "bin" / "ddr3")) {
        const auto spd = bytesOf(entry.path());
        ASSERT_GE(spd.size(), 128U) << entry.path();
        const auto crc = spdCrc16(std::span<const std::uint8_t>(spd).first(ddr3CrcCoverage(spd[0])));
        const auto stored = static_cast<std::uint16_t>(spd[126] | spd[127] << 8);
        // A few dumps were edited by their board makers without a new CRC; most carry a good one.
        checked += crc == stored ? 1 : 0;
    }
    EXPECT_GE(checked, 15);
    for (const auto* generation : {"ddr", "ddr2"})
        for (const auto& entry : std::filesystem::directory_iterator(folder / "spd" / "bin" / generation)) {
            const auto spd = bytesOf(entry.path());
            ASSERT_GE(spd.size(), 64U);
            EXPECT_EQ(spdChecksum(spd), spd[63]) << entry.path();
        }
}

TEST(SpdChecks, KnownValues) {
    const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(spdCrc16(digits), 0x31C3); // CRC-16/XMODEM check value
    EXPECT_EQ(ddr3CrcCoverage(0x92), 117U);
    EXPECT_EQ(ddr3CrcCoverage(0x12), 126U);
}

// Every module a board ships with carries a valid SPD that describes it as the memory page reads it.
TEST(SpdImages, DescribeTheModulesOfEveryBoard) {
    for (const auto& board : boardModels())
        for (const auto& module : board.memory) {
            const auto where = ::testing::Message() << board.code << " slot " << module.slot;
            ASSERT_TRUE(checkModule(module).empty()) << where;
            const auto spd = buildSpdImage(module);
            EXPECT_EQ(spd[2], static_cast<std::uint8_t>(module.type)) << where;
            EXPECT_NE(spd[2], spd[4]) << where << ": a populated slot must not look empty";
            const auto& maker = kMemoryMakers[module.maker];
            if (module.type == MemoryType::Ddr3) {
                EXPECT_EQ(spdCrc16(std::span<const std::uint8_t>(spd).first(117)), spd[126] | spd[127] << 8)
                    << where;
                // Size as the memory page reads it: density code in byte 4, ranks in bits 5..3 of byte 7.
                const int ranks = ((spd[7] >> 3) & 7) + 1;
                const int megabytes = 256 << (spd[4] & 0x0F);
                EXPECT_EQ(megabytes * ranks, module.sizeMegabytes) << where;
                EXPECT_EQ(spd[4] & 0xF0, 0) << where << ": eight banks";
                EXPECT_EQ((spd[117] & 0x0F) + 1, maker.bank) << where;
                EXPECT_EQ(std::popcount(static_cast<unsigned>(spd[117])) % 2, 1) << where << ": odd parity";
                EXPECT_EQ(spd[118], maker.code) << where;
                const std::string part(spd.begin() + 128, spd.begin() + 146);
                EXPECT_EQ(part.substr(0, maker.ddr3Part.size()), maker.ddr3Part) << where;
                EXPECT_EQ(part.find_first_not_of(' ', maker.ddr3Part.size()), std::string::npos) << where;
                EXPECT_NE(spd[14] | spd[15] << 8, 0) << where;
                EXPECT_GT(spd[10], 0);
                EXPECT_GT(spd[11], 0);
            } else {
                EXPECT_EQ(spdChecksum(spd), spd[63]) << where;
                std::size_t continuation = 0;
                while (spd[64 + continuation] == 0x7F)
                    ++continuation;
                EXPECT_EQ(continuation + 1, maker.bank) << where;
                EXPECT_EQ(spd[64 + continuation], maker.code) << where;
                EXPECT_NE(spd[18], 0) << where;
            }
        }
}

// The EEPROMs sit on the SMBus at 0xA0-0xAA: installed modules answer, empty slots read 0xFF
// everywhere (so bytes 2 and 4 are equal), and the EEPROMs are write-protected.
TEST(SpdImages, AnswerOnTheSmbus) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(2917, clock));
    sim::test::loadLibraries(hardware);
    auto& smbus = hardware.hoblin();
    EXPECT_EQ(smbus.Smbus_JRW(0xA1, 2, 0), 0x0B);
    EXPECT_EQ(smbus.Smbus_JRW(0xA5, 2, 0), 0x0B);
    EXPECT_EQ(smbus.Smbus_JRW(0xA3, 2, 0), 0xFF);
    EXPECT_EQ(smbus.Smbus_JRW(0xA3, 4, 0), 0xFF);
    const auto before = smbus.Smbus_JRW(0xA1, 0x80, 0);
    smbus.Smbus_JRW(0xA0, 0x80, 0x41);
    EXPECT_EQ(hardware.board().log().entries().back().outcome, Outcome::ReadOnly);
    EXPECT_EQ(smbus.Smbus_JRW(0xA1, 0x80, 0), before);
    // The second SMBus path reaches the same EEPROMs.
    EXPECT_EQ(hardware.falwick().Smbus_ByteRW(0xA1, 2, 0), 0x0B);
}

TEST(MemoryOption, ParsesModuleLists) {
    std::string error;
    const auto modules = parseMemoryModules("A0=DDR3-2G-2R-1600-Kingston, dimm_c1=ddr2-512", error);
    ASSERT_FALSE(modules) << "blanks are not part of the syntax";
    const auto parsed = parseMemoryModules("A0=DDR3-2G-2R-1600-Kingston,dimm_c1=ddr2-512", error);
    ASSERT_TRUE(parsed) << error;
    ASSERT_EQ(parsed->size(), 2U);
    EXPECT_EQ((*parsed)[0].slot, 0U);
    EXPECT_EQ((*parsed)[0].sizeMegabytes, 2048);
    EXPECT_EQ((*parsed)[0].ranks, 2);
    EXPECT_EQ((*parsed)[0].dataRate, 1600);
    EXPECT_EQ((*parsed)[0].maker, kKingston);
    EXPECT_EQ((*parsed)[1].slot, 5U);
    EXPECT_EQ((*parsed)[1].type, MemoryType::Ddr2);
    EXPECT_EQ((*parsed)[1].dataRate, 800);
    EXPECT_NE((*parsed)[0].serial, (*parsed)[1].serial);
    EXPECT_TRUE(parseMemoryModules("none", error)->empty());

    for (const auto* bad :
         {"", "A0", "D0=DDR3-1G", "A0=DDR4-1G", "A0=DDR3", "A0=DDR3-3G", "A0=DDR3-1G-3R",
          "A0=DDR3-1G-1066-Acme", "A0=DDR3-1G-800", "A0=DDR3-1G,A0=DDR3-2G", "A0=DDR3-999999999G"}) {
        EXPECT_FALSE(parseMemoryModules(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(MemoryOption, ReplacesTheBoardsModules) {
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2904, clock);
    std::string error;
    options.memory = parseMemoryModules("B1=DDR2-1G", error);
    SimulatedHardware hardware(options);
    sim::test::loadLibraries(hardware);
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0xA1, 2, 0), 0xFF);
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0xA7, 2, 0), 0x08);

    options.memory = std::vector<MemoryModule>{{0, MemoryType::Ddr3, 3000, 1, 1333, 0, 1}};
    EXPECT_THROW(SimulatedHardware{options}, std::invalid_argument);
}

} // namespace
} // namespace solvane::sim
