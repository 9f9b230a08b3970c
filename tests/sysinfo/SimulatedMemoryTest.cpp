// The memory page on the simulated boards: each board's own modules, and a mix given as --memory
// gives it.
#include "sim/SimTestSupport.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/MemoryInformation.h"
#include "sysinfo/NoDdr3Module.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

namespace ids = memory_dialog;

// The JEP-106 names of the simulated makers, as the list spells them.
const std::map<std::string_view, std::string_view> kJep106Names{
    {"Kingston", "Kingston"},          {"Corsair", "Corsair"},
    {"G.Skill", "G Skill Intl"},       {"Samsung", "Samsung"},
    {"Crucial", "Crucial Technology"}, {"Hynix", "SK Hynix (former Hyundai Electronics)"},
    {"Micron", "Micron Technology"},   {"Elpida", "Elpida"},
};
const std::map<sim::MemoryType, std::string_view> kTypeTexts{
    {sim::MemoryType::Ddr, "DDR"}, {sim::MemoryType::Ddr2, "DDR2"}, {sim::MemoryType::Ddr3, "DDR3"}};

std::string hex8(std::uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

// Checks the page against the modules the simulated board carries.
void expectModules(sim::SimulationOptions options, std::span<const sim::MemoryModule> fitted) {
    sim::SimulatedHardware hardware(options);
    sim::test::loadLibraries(hardware);
    MemoryInformation memory(hardware.hoblin(), SmbusLibrary::Loaded, [] {
        return platform::MemoryStatus{20, 1000ULL * 1024 * 1024};
    });
    EXPECT_EQ(memory.initialise(), !fitted.empty());
    std::vector<sim::MemoryModule> inSlotOrder(fitted.begin(), fitted.end());
    std::sort(inSlotOrder.begin(), inSlotOrder.end(),
              [](const auto& a, const auto& b) { return a.slot < b.slot; });
    ASSERT_EQ(memory.modules().size(), inSlotOrder.size());
    unsigned ddr3Total = 0;
    for (std::size_t i = 0; i < inSlotOrder.size(); ++i) {
        const auto& module = inSlotOrder[i];
        EXPECT_EQ(memory.modules()[i].name, sim::kSlotNames[module.slot]);
        const auto texts = memory.decodeModule(i);
        EXPECT_EQ(texts.memoryType, kTypeTexts.at(module.type));
        ASSERT_EQ(texts.ddr3.has_value(), module.type == sim::MemoryType::Ddr3);
        if (!texts.ddr3)
            continue;
        // Modules of x8 chips: the size table gives the module's own size.
        const auto size = std::to_string(module.sizeMegabytes) + " MBytes";
        EXPECT_EQ(texts.ddr3->moduleSize.substr(0, size.size()), size);
        EXPECT_EQ(texts.ddr3->manufacturer, kJep106Names.at(sim::kMemoryMakers[module.maker].name));
        EXPECT_EQ(texts.ddr3->serialNumber, hex8(module.serial));
        EXPECT_EQ(texts.ddr3->weekYear.substr(4), " 09");
        ddr3Total += static_cast<unsigned>(module.sizeMegabytes);
    }
    EXPECT_EQ(memory.ddr3TotalMegabytes(), ddr3Total);
    if (fitted.empty())
        return;
    const auto total = ddr3Total > 0 ? std::to_string(ddr3Total) + " MBytes" : std::string("1000 MBytes");
    EXPECT_EQ(memory.field(ids::kTotalPhysicalMemory), total);
}

class SimulatedMemoryTest : public ::testing::TestWithParam<int> {};

TEST_P(SimulatedMemoryTest, EachBoardListsTheModulesItCarries) {
    sim::test::ManualClock clock;
    const auto* board = sim::findBoardModel(GetParam());
    ASSERT_NE(board, nullptr);
    expectModules(sim::test::testOptions(GetParam(), clock), board->memory);
}

INSTANTIATE_TEST_SUITE_P(AllBoards, SimulatedMemoryTest, ::testing::ValuesIn(sim::test::allBoardCodes()),
                         sim::test::boardName);

TEST(SimulatedMemoryMixTest, Ddr2AndDdr3InDifferentSlots) {
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2917, clock);
    std::string error;
    const auto modules =
        sim::parseMemoryModules("C1=DDR3-4G-2R-1333-Samsung,A1=DDR2-1G-Elpida,B0=DDR3-1G-1066-Hynix", error);
    ASSERT_TRUE(modules) << error;
    options.memory = modules;
    expectModules(options, *modules);
}

TEST(SimulatedMemoryMixTest, TheFirstListedModuleIsShownAndTheTotalCountsOnlyDdr3) {
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2917, clock);
    std::string error;
    options.memory = sim::parseMemoryModules("A0=DDR2-2G-2R-800,B1=DDR3-2G-2R-1600-Kingston", error);
    sim::SimulatedHardware hardware(options);
    sim::test::loadLibraries(hardware);
    MemoryInformation memory(hardware.hoblin(), SmbusLibrary::Loaded,
                             [] { return platform::MemoryStatus{}; });
    memory.initialise();
    EXPECT_EQ(memory.field(ids::kMemoryType), "DDR2");
    EXPECT_FALSE(memory.field(ids::kModuleSize));
    EXPECT_EQ(memory.field(ids::kTotalPhysicalMemory), "2048 MBytes");
    memory.showModule(1);
    EXPECT_EQ(memory.field(ids::kModuleSize), "2048 MBytes (2 Gb)");
    EXPECT_EQ(memory.field(ids::kManufacturer), "Kingston");
}

// The product name of the two boards sold with either memory kind depends on whether a DDR3 module
// sits in any slot; the other boards never look.
TEST(SimulatedMemoryMixTest, OnlyTheTwoBoardsOfEitherKindLookForADdr3Module) {
    struct Case {
        int board;
        const char* modules;
        bool noDdr3;
    };
    const Case cases[] = {
        {2904, "A0=DDR2-2G-2R-800,B0=DDR2-1G-Elpida", true},
        {2904, "A0=DDR2-2G-2R-800,C1=DDR3-2G-2R-1600-Kingston", false},
        {2907,
         "A0=DDR3-2G-2R-1333-Samsung,A1=DDR3-2G-2R-1333-Samsung,B0=DDR3-2G-2R-1333-Samsung,"
         "B1=DDR3-2G-2R-1333-Samsung,C0=DDR3-2G-2R-1333-Samsung,C1=DDR3-2G-2R-1333-Samsung",
         false},
        {2907, "B1=DDR-1G-Corsair", true},
        {2917, "A0=DDR3-2G-2R-1333-Samsung", true},
    };
    for (const auto& [board, text, noDdr3] : cases) {
        SCOPED_TRACE(testing::Message() << board << " with " << text);
        sim::test::ManualClock clock;
        auto options = sim::test::testOptions(board, clock);
        std::string error;
        options.memory = sim::parseMemoryModules(text, error);
        ASSERT_TRUE(options.memory) << error;
        sim::SimulatedHardware hardware(options);
        sim::test::loadLibraries(hardware);
        EXPECT_EQ(noDdr3Module(board, hardware.hoblin()), noDdr3);
    }
}

} // namespace
} // namespace solvane::sysinfo
