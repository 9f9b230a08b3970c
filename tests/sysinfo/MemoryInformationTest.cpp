#include "sysinfo/MemoryInformation.h"

#include "sysinfo/MemoryDialog.h"
#include "sysinfo/SpdBytes.h"
#include "sysinfo/SpdFields.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace solvane::sysinfo {
namespace {

namespace ids = memory_dialog;
using test::ddr3Module;
using test::FakeSpdBus;
using test::spdImage;

constexpr std::uint64_t kMegabyte = 1024 * 1024;

class MemoryInformationTest : public ::testing::Test {
protected:
    MemoryInformation page(SmbusLibrary library = SmbusLibrary::Loaded) {
        return MemoryInformation(bus, library, [this] {
            ++statusCalls;
            return status;
        });
    }
    std::string field(const MemoryInformation& memory, int id) {
        return memory.field(id).value_or("(template)");
    }

    FakeSpdBus bus;
    platform::MemoryStatus status{37, 3000 * kMegabyte + 1};
    int statusCalls = 0;
};

TEST_F(MemoryInformationTest, TwoDdr3ModulesMakeTheTotalWhateverTheSystemReports) {
    auto single = ddr3Module(); // density 0x02, one rank: 1024 MB
    auto dual = ddr3Module();
    dual[4] = 0x03;
    dual[7] = 0x09; // two ranks: 4096 MB
    bus.eeproms[0xA0] = single;
    bus.eeproms[0xA6] = dual;
    auto memory = page();
    EXPECT_TRUE(memory.initialise());
    ASSERT_EQ(memory.modules().size(), 2U);
    EXPECT_EQ(memory.modules()[0].name, "DIMM_A0");
    EXPECT_EQ(memory.modules()[1].name, "DIMM_B1");
    EXPECT_TRUE(memory.ddr3Seen());
    EXPECT_EQ(memory.ddr3TotalMegabytes(), 5120U);
    EXPECT_EQ(field(memory, ids::kTotalPhysicalMemory), "5120 MBytes");
    EXPECT_EQ(field(memory, ids::kMemoryLoad), "37 %");
    EXPECT_TRUE(memory.noModulesReason().empty());
    // The first module is shown.
    EXPECT_EQ(field(memory, ids::kModuleSize), "1024 MBytes (1 Gb)");
    EXPECT_TRUE(memory.showModule(1));
    EXPECT_EQ(field(memory, ids::kModuleSize), "4096 MBytes (4 Gb)");
}

TEST_F(MemoryInformationTest, OnlyDdr2ModulesKeepTheOtherFieldsAndTheSystemsTotal) {
    bus.eeproms[0xA2] = spdImage({{2, 0x08}, {4, 0x0A}, {7, 0x00}});
    bus.eeproms[0xAA] = spdImage({{2, 0x08}, {4, 0x0A}});
    auto memory = page();
    EXPECT_TRUE(memory.initialise());
    ASSERT_EQ(memory.modules().size(), 2U);
    EXPECT_EQ(memory.modules()[1].name, "DIMM_C1");
    EXPECT_FALSE(memory.ddr3Seen());
    EXPECT_EQ(field(memory, ids::kMemoryType), "DDR2");
    EXPECT_FALSE(memory.field(ids::kModuleSize));
    EXPECT_FALSE(memory.field(ids::kTimingFields[0][0]));
    // 3000 MB and one byte round up.
    EXPECT_EQ(field(memory, ids::kTotalPhysicalMemory), "3001 MBytes");
}

TEST_F(MemoryInformationTest, ADdr2ModuleAfterADdr3OneChangesOnlyTheType) {
    bus.eeproms[0xA0] = ddr3Module();
    bus.eeproms[0xA4] = spdImage({{2, 0x08}, {4, 0x0A}});
    auto memory = page();
    memory.initialise();
    const auto before = memory.fields();
    EXPECT_TRUE(memory.showModule(1));
    for (const auto& [id, text] : before)
        EXPECT_EQ(field(memory, id), id == ids::kMemoryType ? "DDR2" : text) << id;
    EXPECT_EQ(memory.fields().size(), before.size());
}

TEST_F(MemoryInformationTest, ColumnsBeyondANewModulesLatenciesKeepTheEarlierModulesTexts) {
    auto fourLatencies = ddr3Module();
    auto twoLatencies = ddr3Module();
    twoLatencies[14] = 0x0C; // 6 and 7
    twoLatencies[16] = 120;  // 15 ns
    bus.eeproms[0xA0] = fourLatencies;
    bus.eeproms[0xA2] = twoLatencies;
    auto memory = page();
    memory.initialise();
    const auto column4 = field(memory, ids::kTimingFields[0][3]);
    EXPECT_EQ(column4, "686 MHz");
    memory.showModule(1);
    EXPECT_EQ(field(memory, ids::kTimingFields[0][0]), "400 MHz"); // 15 ns / 6
    EXPECT_EQ(field(memory, ids::kTimingFields[0][3]), column4);
    EXPECT_EQ(field(memory, ids::kTimingFields[1][2]), "8.0");
}

TEST_F(MemoryInformationTest, ASelectionOutsideTheListChangesNothing) {
    bus.eeproms[0xA0] = ddr3Module();
    auto memory = page();
    memory.initialise();
    const auto before = memory.fields();
    EXPECT_FALSE(memory.showModule(-1));
    EXPECT_FALSE(memory.showModule(1));
    EXPECT_EQ(memory.fields(), before);
}

TEST_F(MemoryInformationTest, ASlotWhoseTypeAndDensityBytesAgreeIsEmpty) {
    bus.eeproms[0xA0] = spdImage({{2, 0x0B}, {4, 0x0B}}); // reads like an absent device
    bus.eeproms[0xA2] = spdImage({{2, 0x00}, {4, 0x00}});
    auto memory = page();
    EXPECT_FALSE(memory.initialise());
    EXPECT_TRUE(memory.modules().empty());
    EXPECT_TRUE(memory.fields().empty()) << "no module: the page keeps its template texts";
    EXPECT_EQ(statusCalls, 0);
    EXPECT_NE(memory.noModulesReason().find("no SPD EEPROM answered"), std::string_view::npos);
}

TEST_F(MemoryInformationTest, TheScanReadsEachSlotAtItsReadAddress) {
    bus.eeproms[0xA8] = ddr3Module();
    auto memory = page();
    memory.initialise();
    ASSERT_GE(bus.calls.size(), 18U);
    const std::array<std::uint8_t, 6> addresses{0xA1, 0xA3, 0xA5, 0xA7, 0xA9, 0xAB};
    const std::array<std::uint8_t, 3> scanned{2, 4, 7};
    for (std::size_t slot = 0; slot < 6; ++slot)
        for (std::size_t i = 0; i < 3; ++i) {
            const auto& call = bus.calls[slot * 3 + i];
            EXPECT_EQ(call.address, addresses[slot]);
            EXPECT_EQ(call.reg, scanned[i]);
            EXPECT_EQ(call.data, 0);
        }
    for (const auto& call : bus.calls)
        EXPECT_EQ(call.address & 1, 1) << "every transfer is a read";
    EXPECT_EQ(memory.modules().front().name, "DIMM_C0");
}

TEST_F(MemoryInformationTest, ADdr3SizeWithoutARowAddsNothingToTheTotal) {
    auto unknownSize = ddr3Module();
    unknownSize[4] = 0x05; // 8 Gb chips: no row
    bus.eeproms[0xA0] = unknownSize;
    bus.eeproms[0xA2] = ddr3Module();
    auto memory = page();
    memory.initialise();
    EXPECT_TRUE(memory.ddr3Seen());
    EXPECT_EQ(field(memory, ids::kTotalPhysicalMemory), "1024 MBytes");
    EXPECT_EQ(field(memory, ids::kModuleSize), "");
}

TEST_F(MemoryInformationTest, WithoutTheSmbusLibraryOnlyTheMemoryStatusIsShown) {
    bus.eeproms[0xA0] = ddr3Module();
    auto memory = page(SmbusLibrary::NotLoaded);
    EXPECT_TRUE(memory.initialise()) << "the status is refreshed on the timer";
    EXPECT_TRUE(bus.calls.empty()) << "nothing is read through a library that is not loaded";
    EXPECT_TRUE(memory.modules().empty());
    EXPECT_EQ(memory.fields().size(), 2U);
    EXPECT_EQ(field(memory, ids::kTotalPhysicalMemory), "3001 MBytes");
    EXPECT_NE(memory.noModulesReason().find("SMBus library is not loaded"), std::string_view::npos);
}

TEST_F(MemoryInformationTest, EachRefreshReadsTheStatusAgain) {
    bus.eeproms[0xA4] = spdImage({{2, 0x07}, {4, 0x0D}});
    auto memory = page();
    memory.initialise();
    EXPECT_EQ(field(memory, ids::kMemoryType), "DDR");
    status = {100, 8ULL * 1024 * kMegabyte};
    memory.refreshStatus();
    EXPECT_EQ(statusCalls, 2);
    EXPECT_EQ(field(memory, ids::kMemoryLoad), "100 %");
    EXPECT_EQ(field(memory, ids::kTotalPhysicalMemory), "8192 MBytes");
}

} // namespace
} // namespace solvane::sysinfo

namespace solvane::sysinfo {
namespace {

std::vector<std::uint8_t> realDdr4Image() {
    std::ifstream stream(std::filesystem::path(SOLVANE_TEST_DATA) / "realdata" / "spd" / "bin" / "ddr4" /
                             "idem-id2__Samsung_M378A2K43EB1-CWE.bin",
                         std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

TEST_F(MemoryInformationTest, ADdr4ModuleIsReadWholeFromItsDriverAndOwnsTheTimingsTable) {
    auto ddr4 = realDdr4Image();
    ASSERT_EQ(ddr4.size(), 512U);
    // The slowest clock 0.75 ns: three speeds, DDR4-3200, -2933 and -2666. The CRC is made good again.
    ddr4[19] = 6;
    ddr4[124] = 0;
    const auto crc = spd_fields::crc16(std::span(ddr4).first(126));
    ddr4[126] = static_cast<std::uint8_t>(crc & 0xFF);
    ddr4[127] = static_cast<std::uint8_t>(crc >> 8);
    bus.eeproms[0xA0] = ddr3Module();
    bus.eeproms[0xA2] = std::vector<std::uint8_t>(ddr4.begin(), ddr4.begin() + 256); // what the SMBus reaches
    std::vector<std::uint8_t> asked;
    MemoryInformation memory(
        bus, SmbusLibrary::Loaded, [this] { return status; },
        [&](std::uint8_t address) -> std::optional<std::vector<std::uint8_t>> {
            asked.push_back(address);
            return (address & 0xFE) == 0xA2 ? std::optional(ddr4) : std::nullopt;
        });
    memory.initialise();
    EXPECT_TRUE(asked.empty()) << "a DDR3 module is read over the SMBus alone";
    memory.showModule(1);
    EXPECT_EQ(asked, std::vector<std::uint8_t>{0xA2});
    EXPECT_EQ(field(memory, ids::kMemoryType), "DDR4 UDIMM");
    EXPECT_EQ(field(memory, ids::kModuleSize), "16384 MBytes (2Rx8)");
    EXPECT_EQ(field(memory, ids::kPartNumber), "M378A2K43EB1-CWE");
    const char* frequencies[] = {"1600 MHz", "1466 MHz", "1333 MHz", ""};
    for (std::size_t column = 0; column < kTimingColumns; ++column)
        EXPECT_EQ(field(memory, ids::kTimingFields[0][column]), frequencies[column]) << column;
    EXPECT_EQ(field(memory, ids::kTimingFields[6][3]), "") << "the DDR3 module's fourth column is cleared";
    // A DDR4 module is no DDR3 module: the total stays the DDR3 modules' sum.
    EXPECT_EQ(memory.ddr3TotalMegabytes(), 1024U);
}

TEST_F(MemoryInformationTest, WithoutTheDriversImageADdr4ModuleIsShownAsIncomplete) {
    const auto ddr4 = realDdr4Image();
    bus.eeproms[0xA0] = std::vector<std::uint8_t>(ddr4.begin(), ddr4.begin() + 256);
    auto memory = page();
    memory.initialise();
    EXPECT_EQ(field(memory, ids::kMemoryType), "DDR4 UDIMM");
    EXPECT_EQ(field(memory, ids::kModuleSize), "16384 MBytes (2Rx8), incomplete SPD");
    EXPECT_EQ(field(memory, ids::kPartNumber), "");
    EXPECT_EQ(field(memory, ids::kTimingFields[0][0]), "1600 MHz");
}

} // namespace
} // namespace solvane::sysinfo
