// Every real SPD dump, replayed in a slot and decoded as the memory page decodes it. The expected
// texts follow the page's rules for those bytes, which differ from other decoders on purpose: the
// serial is printed last byte first, the bank of the manufacturer is the low nibble of byte 117 plus
// one, the size comes from the density code alone as if the module were built of x8 chips, and DDR and
// DDR2 modules show only their type text. DDR4 and DDR5 modules have decoders of their own (their own
// test); here they show their generation and form.
#include "hw/replay/ReplayHardware.h"
#include "sim/SimulatedHardware.h"
#include "support/TempFolder.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/MemoryInformation.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

struct RealModule {
    const char* file; // under spd/bin of the real data
    const char* type;
    const char* size = nullptr; // the rest only for DDR3
    const char* part = nullptr;
    const char* serial = nullptr;
    const char* manufacturer = nullptr;
    const char* weekYear = nullptr;
};

// clang-format off
const RealModule kRealModules[] = {
    {"ddr/memtest86plus__DDR-OCZ4001024ELPE.bin", "DDR"},
    {"ddr2/memtest86plus__DDR2-2G-UDIMM.bin", "DDR2"},
    {"ddr2/memtest86plus__DDR2-GoldenEmpire-1.bin", "DDR2"},
    {"ddr2/memtest86plus__DDR2-GoldenEmpire-2.bin", "DDR2"},
    {"ddr3/coreboot__auron_yuna__micron_2GiB_dimm_MT41K256M16TW-107.bin", "DDR3", "4096 MBytes (4 Gb)", "4KTF25664HZ-1G9P1", "00000000", "Micron Technology", "00 / 00"},
    {"ddr3/coreboot__falco__Micron_4KTF25664HZ.bin", "DDR3", "4096 MBytes (4 Gb)", "4KTF25664HZ-1G6E1", "00000000", "Micron Technology", "00 / 00"},
    {"ddr3/coreboot__gandof__Samsung_M471B5674EB0-YK0.bin", "DDR3", "4096 MBytes (4 Gb)", "M471B5674EB0-YK0", "00000000", "Samsung", "00 / 00"},
    {"ddr3/coreboot__lulu__hynix_4GiB_dimm_H5TC8G63CMR-PBA.bin", "DDR3", "8192 MBytes (8 Gb)", "HMT851S6CMR6A-PB", "00000000", "SK Hynix (former Hyundai Electronics)", "00 / 00"},
    {"ddr3/coreboot__lulu__samsung_4GiB_dimm_K4B8G1646Q-MYK0.bin", "DDR3", "8192 MBytes (8 Gb)", "M471B5174QM0-YK0", "00000000", "Samsung", "00 / 00"},
    {"ddr3/coreboot__peppy__Hynix_HMT425S6CFR6A.bin", "DDR3", "4096 MBytes (4 Gb)", "HMT425S6CFR6A-PB", "00000000", "SK Hynix (former Hyundai Electronics)", "00 / 00"},
    {"ddr3/coreboot__rambi__HT_micron_HTTC4G63CFR-PBA_x16_4Gb.bin", "DDR3", "4096 MBytes (4 Gb)", "HTTC4G63CFR-PBA", "00000000", "", "00 / 00"},
    {"ddr3/coreboot__rambi__Samsung_2Gib_M471B5674QH0.bin", "DDR3", "4096 MBytes (4 Gb)", "M471B5674QH0-YK0", "00000000", "Samsung", "00 / 00"},
    {"ddr3/coreboot__rambi__elpida_2GiB_dimm_EDJ4216EFBG-GNL-F.bin", "DDR3", "4096 MBytes (4 Gb)", "EDJ4216EFBG-GN-F", "00000000", "Elpida", "00 / 00"},
    {"ddr3/coreboot__rambi__hynix_2GiB_dimm_H5TC4G63MFR-PBA.bin", "DDR3", "4096 MBytes (4 Gb)", "HMT425S6MFR6A-PB", "00000000", "SK Hynix (former Hyundai Electronics)", "00 / 00"},
    {"ddr3/coreboot__rambi__micron_1GiB_dimm_MT41K128M16JT-125.bin", "DDR3", "2048 MBytes (2 Gb)", "4KTF25664HZ-1G6E1", "00000000", "Micron Technology", "00 / 00"},
    {"ddr3/illumos__M393B4G70BM0-CMA09.bin", "DDR3", "4096 MBytes (4 Gb)", "M393B4G70BM0-CMA", "952E2BA2", "Samsung", "19 / 12"},
    {"ddr3/illumos__MT36KSZF2G72LDZ-1G6E2A7.bin", "DDR3", "4096 MBytes (4 Gb)", "36KSZ2G72LD1G6E2A7", "07AB94CC", "Micron Technology", "04 / 09"},
    {"ddr3/memtest86plus__DDR3-9905403-440.A00LF.bin", "DDR3", "4096 MBytes (4 Gb)", "9905403-440A00LF", "9C513C86", "Kingston", "39 / 11"},
    {"ddr3/memtest86plus__DDR3-M378B5173DB0-CK0.bin", "DDR3", "4096 MBytes (4 Gb)", "M378B5173DB0-CK0", "E9F5EB15", "Samsung", "16 / 14"},
    {"ddr3/memtest86plus__DDR3-M391B1G73QH0-CMA.bin", "DDR3", "8192 MBytes (8 Gb)", "M391B1G73QH0-CMA", "97D08012", "Samsung", "22 / 15"},
    {"ddr3/memtest86plus__DDR3-M392B1G73DB0-YH9.bin", "DDR3", "8192 MBytes (8 Gb)", "M392B1G73DB0-YH9", "89173B38", "Samsung", "20 / 14"},
    {"ddr3/rigred__KINGSTON-KVR13LS9S6-2-017-A00LF.bin", "DDR3", "4096 MBytes (4 Gb)", "9905594-017A00LF", "C6611E51", "Kingston", "33 / 15"},
    {"ddr3/rigred__KINGSTON-KVR16LS11S6-2-001-A00LF.bin", "DDR3", "4096 MBytes (4 Gb)", "9905594-001A00LF", "B3C91662", "Kingston", "28 / 15"},
    {"ddr3/rigred__KINGSTON-KVR16LS11S6-2-014-A00LF.bin", "DDR3", "4096 MBytes (4 Gb)", "9905594-014A00LF", "D3D91425", "Kingston", "46 / 15"},
    {"ddr4/illumos__36ASF8G72PZ-3G2E1.bin", "DDR4 RDIMM"},
    {"ddr4/memtest86plus__DDR4-M393A1G40EB1-CPB.bin", "DDR4 RDIMM"},
    {"ddr4/memtest86plus__DDR4-M393A1G40EB1-CRC.bin", "DDR4 RDIMM"},
    {"ddr5/illumos__MTC40F2046S1RC48BA1.bin", "DDR5 RDIMM"},
};
// clang-format on

class RealSpdDumpsTest : public ::testing::Test {
protected:
    void SetUp() override { folder = test::realDataFolder(); }

    // A simulated board without modules, with the given dumps replayed in their slots.
    std::unique_ptr<hw::Hardware> replay(const std::vector<std::string>& slotFiles) {
        sim::SimulationOptions options;
        options.memory = std::vector<sim::MemoryModule>{};
        hw::ReplayFiles files;
        for (const auto& slotFile : slotFiles)
            files.spd.push_back(slotFile);
        auto sources = hw::loadReplaySources(files);
        EXPECT_TRUE(sources.ok()) << sources.error();
        return hw::withReplay(sim::createSimulatedHardware(options), sources.value());
    }

    std::string dump(const char* file) const { return (folder / "spd" / "bin" / file).string(); }

    std::filesystem::path folder;
};

MemoryInformation pageOver(hw::Hardware& hardware) {
    return MemoryInformation(hardware.hoblin(), SmbusLibrary::Loaded, [] {
        return platform::MemoryStatus{50, 0};
    });
}

TEST_F(RealSpdDumpsTest, EveryDumpDecodesByThePagesRules) {
    std::size_t ddr3 = 0;
    for (const auto& module : kRealModules) {
        auto hardware = replay({"DIMM_B1=" + dump(module.file)});
        auto memory = pageOver(*hardware);
        memory.initialise();
        ASSERT_EQ(memory.modules().size(), 1U) << module.file;
        EXPECT_EQ(memory.modules()[0].name, "DIMM_B1");
        const auto texts = memory.decodeModule(0);
        EXPECT_EQ(texts.memoryType, module.type) << module.file;
        ASSERT_EQ(texts.ddr3.has_value(), module.size != nullptr) << module.file;
        EXPECT_EQ(texts.spd.has_value(), std::string_view(module.type).starts_with("DDR4") ||
                                             std::string_view(module.type).starts_with("DDR5"));
        if (!texts.ddr3)
            continue;
        ++ddr3;
        EXPECT_EQ(texts.ddr3->moduleSize, module.size) << module.file;
        EXPECT_EQ(texts.ddr3->partNumber, module.part) << module.file;
        EXPECT_EQ(texts.ddr3->serialNumber, module.serial) << module.file;
        EXPECT_EQ(texts.ddr3->manufacturer, module.manufacturer) << module.file;
        EXPECT_EQ(texts.ddr3->weekYear, module.weekYear) << module.file;
        EXPECT_TRUE(texts.ddr3->timings[0].has_value()) << module.file;
    }
    EXPECT_EQ(ddr3, 20U);
}

TEST_F(RealSpdDumpsTest, SeveralSlotsReplayAtOnce) {
    auto hardware = replay({"DIMM_C1=" + dump("ddr3/memtest86plus__DDR3-9905403-440.A00LF.bin"),
                            "DIMM_A0=" + dump("ddr2/memtest86plus__DDR2-2G-UDIMM.bin"),
                            "0xA4=" + dump("ddr3/memtest86plus__DDR3-M378B5173DB0-CK0.bin")});
    auto memory = pageOver(*hardware);
    memory.initialise();
    ASSERT_EQ(memory.modules().size(), 3U);
    EXPECT_EQ(memory.modules()[0].name, "DIMM_A0");
    EXPECT_EQ(memory.modules()[1].name, "DIMM_B0");
    EXPECT_EQ(memory.modules()[2].name, "DIMM_C1");
    // Two ranks of 1 Gb code 0x03 (4096 MB) and one rank of code 0x04 (4096 MB).
    EXPECT_EQ(memory.ddr3TotalMegabytes(), 8192U);
    EXPECT_EQ(memory.field(memory_dialog::kMemoryType), "DDR2");
    EXPECT_EQ(memory.field(memory_dialog::kTotalPhysicalMemory), "8192 MBytes");
    EXPECT_EQ(hardware->refusedWrites(), 0U);
}

TEST_F(RealSpdDumpsTest, TheKingstonModuleIsTheWorkedExample) {
    // 13.125 ns (105 × 1/8 ns) at CAS latencies 6 to 9.
    auto hardware = replay({"DIMM_A0=" + dump("ddr3/memtest86plus__DDR3-9905403-440.A00LF.bin")});
    auto memory = pageOver(*hardware);
    memory.initialise();
    const std::array<const char*, 4> frequencies{"457 MHz", "533 MHz", "610 MHz", "686 MHz"};
    const std::array<const char*, 4> rasToCas{"6", "7", "9", "10"};
    for (std::size_t column = 0; column < 4; ++column) {
        EXPECT_EQ(memory.field(memory_dialog::kTimingFields[0][column]), frequencies[column]);
        EXPECT_EQ(memory.field(memory_dialog::kTimingFields[2][column]), rasToCas[column]);
    }
}

} // namespace
} // namespace solvane::sysinfo
