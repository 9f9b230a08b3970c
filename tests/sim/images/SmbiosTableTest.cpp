#include "hw/ByteOrder.h"
#include "sim/SimTestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace solvane::sim {
namespace {

struct Structure {
    std::uint8_t type = 0;
    std::uint16_t handle = 0;
    std::vector<std::uint8_t> formatted;
    std::vector<std::string> strings;

    std::string string(std::size_t offset) const {
        const auto number = formatted.at(offset);
        return number == 0 ? std::string() : strings.at(number - 1U);
    }
    std::uint16_t word(std::size_t offset) const {
        return hw::readLittleEndian<std::uint16_t>(formatted, offset);
    }
    std::uint32_t dword(std::size_t offset) const {
        return hw::readLittleEndian<std::uint32_t>(formatted, offset);
    }
};

// A strict walk of a structure table: each structure's formatted area lies inside the table, its
// strings are printable and zero-terminated, the set ends in a double zero, string numbers in the
// formatted area name existing strings (checked by the callers), and the table ends right after the
// end-of-table structure.
std::vector<Structure> walk(const std::vector<std::uint8_t>& table) {
    std::vector<Structure> structures;
    std::size_t at = 0;
    while (at < table.size()) {
        Structure structure;
        EXPECT_LE(at + 4, table.size());
        const auto length = table.at(at + 1);
        EXPECT_GE(length, 4);
        EXPECT_LE(at + length + 2, table.size());
        structure.type = table.at(at);
        structure.formatted.assign(table.begin() + static_cast<std::ptrdiff_t>(at),
                                   table.begin() + static_cast<std::ptrdiff_t>(at + length));
        structure.handle = structure.word(2);
        at += length;
        if (table.at(at) == 0) {
            EXPECT_EQ(table.at(at + 1), 0) << "a structure without strings ends in two zero bytes";
            at += 2;
        } else {
            while (table.at(at) != 0) {
                std::string text;
                while (table.at(at) != 0)
                    text += static_cast<char>(table.at(at++));
                for (const char c : text)
                    EXPECT_TRUE(c >= 0x20 && c < 0x7F) << text;
                structure.strings.push_back(text);
                ++at;
            }
            ++at;
        }
        structures.push_back(structure);
        if (structure.type == 127)
            break;
    }
    EXPECT_EQ(at, table.size()) << "nothing follows the end-of-table structure";
    return structures;
}

const Structure& first(const std::vector<Structure>& structures, std::uint8_t type) {
    for (const auto& structure : structures)
        if (structure.type == type)
            return structure;
    throw std::runtime_error("no structure of type " + std::to_string(type));
}

class SmbiosTables : public ::testing::TestWithParam<int> {};

TEST_P(SmbiosTables, AreWellFormedAndDescribeTheBoard) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(GetParam(), clock));
    sim::test::loadLibraries(hardware);
    std::uint32_t length = 0;
    ASSERT_EQ(hardware.ostrel().GetDMILength(&length), length);
    std::vector<std::uint8_t> table(length);
    ASSERT_TRUE(hardware.ostrel().GetDMIData(table.data(), length));
    const auto structures = walk(table);

    const std::map<std::uint8_t, std::uint8_t> lengths = {{0, 0x18}, {1, 0x1B},  {2, 0x0F},  {3, 0x15},
                                                          {4, 0x28}, {16, 0x0F}, {17, 0x1B}, {127, 4}};
    std::vector<std::uint8_t> types;
    std::set<std::uint16_t> handles;
    for (const auto& structure : structures) {
        types.push_back(structure.type);
        EXPECT_EQ(structure.formatted.size(), lengths.at(structure.type)) << int{structure.type};
        EXPECT_TRUE(handles.insert(structure.handle).second) << "unique handles";
    }
    EXPECT_EQ(types, (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 16, 17, 17, 17, 17, 17, 17, 127}));

    const auto& model = hardware.board().model();
    const auto& bios = first(structures, 0);
    EXPECT_EQ(bios.string(4), model.biosVendor);
    EXPECT_EQ(bios.string(5), model.biosVersion);
    EXPECT_EQ(bios.string(8), model.biosDate);
    const auto& baseboard = first(structures, 2);
    EXPECT_EQ(baseboard.string(4), model.maker);
    EXPECT_EQ(baseboard.string(5), hardware.board().baseboardProduct());
    EXPECT_EQ(baseboard.string(6), model.baseboardVersion);
    EXPECT_FALSE(baseboard.string(7).empty());
    EXPECT_EQ(baseboard.word(0x0B), first(structures, 3).handle) << "the baseboard names its chassis";

    const auto& processor = first(structures, 4);
    const auto& cpu = *model.processor;
    char id[32];
    std::snprintf(id, sizeof id, "%.8X %.8X", processor.dword(12), processor.dword(8));
    EXPECT_EQ(
        std::string(id), std::string(cpu.vendor == CpuVendor::Intel ? "BFEBFBFF " : "178BFBFF ") + [&] {
            char signature[16];
            std::snprintf(signature, sizeof signature, "%.8X", cpu.signature);
            return std::string(signature);
        }());
    EXPECT_EQ(processor.string(0x10), cpu.version);
    EXPECT_EQ(processor.string(7), cpu.vendor == CpuVendor::Intel ? "Intel" : "AMD");
    EXPECT_EQ(cpu.vendor == CpuVendor::Amd, processor.string(0x10).rfind("AMD ", 0) == 0) << cpu.version;
    EXPECT_EQ(processor.word(0x12), cpu.externalClockMhz);

    // One memory device per slot; the populated ones match the modules.
    std::size_t populated = 0;
    for (const auto& device : structures) {
        if (device.type != 17)
            continue;
        EXPECT_EQ(device.word(4), first(structures, 16).handle);
        const auto slot = device.string(0x10);
        for (const auto& module : hardware.board().modules())
            if (kSlotNames[module.slot] == slot) {
                ++populated;
                EXPECT_EQ(device.word(0x0C), module.sizeMegabytes) << slot;
                EXPECT_EQ(device.formatted.at(0x12), module.type == MemoryType::Ddr3   ? 0x18
                                                     : module.type == MemoryType::Ddr2 ? 0x13
                                                                                       : 0x12);
                EXPECT_EQ(device.string(0x17), kMemoryMakers[module.maker].name);
            }
    }
    EXPECT_EQ(populated, hardware.board().modules().size());
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, SmbiosTables, ::testing::ValuesIn(sim::test::allBoardCodes()),
                         sim::test::boardName);

std::string productOf(const SimulationOptions& options) {
    SimulatedHardware hardware(options);
    return hardware.board().baseboardProduct();
}

// The baseboard product name comes from the model-name table: model name and board code, the code
// alone when the table has no name or the firmware reports none, the revision's and memory's variant
// on 2904; a board of another maker has a name of its own.
TEST(SmbiosProductNames, FollowTheModelNamesAndTheOptions) {
    sim::test::ManualClock clock;
    EXPECT_EQ(productOf(sim::test::testOptions(2917, clock)), "Elm-E4 (KX-2917)");
    EXPECT_EQ(productOf(sim::test::testOptions(2901, clock)), "Alder-A1 (KX-2901)");
    EXPECT_EQ(productOf(sim::test::testOptions(2911, clock)), "Cedar-C4 (KX-2911)");
    EXPECT_EQ(productOf(sim::test::testOptions(2913, clock)), "Birch-B6 (KX-2913)");
    EXPECT_EQ(productOf(sim::test::testOptions(2918, clock)), "KX-2918");
    EXPECT_EQ(productOf(sim::test::testOptions(0, clock)), "G41M-HQ");
    auto bare = sim::test::testOptions(2917, clock);
    bare.productNaming = ProductNaming::CodeOnly;
    EXPECT_EQ(productOf(bare), "KX-2917");

    const std::vector<std::pair<std::string, std::string>> revisions = {
        {"1.0", "Birch-B1"}, {"4.0", "Birch-B3"}, {"5.0", "Birch-B4"}, {"6.0", "Birch-B5"}};
    for (const auto& [version, name] : revisions) {
        auto options = sim::test::testOptions(2904, clock);
        options.baseboardVersion = version;
        EXPECT_EQ(productOf(options), name + " (KX-2904)") << version;
    }
    auto ddr2 = sim::test::testOptions(2904, clock);
    std::string error;
    ddr2.memory = parseMemoryModules("A0=DDR2-2G-2R", error);
    EXPECT_EQ(productOf(ddr2), "Birch-B2 (KX-2904)");
}

TEST(SmbiosOptions, VersionsReachTheTables) {
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2916, clock);
    options.baseboardVersion = "5.0";
    options.biosVersion = "V7.02";
    SimulatedHardware hardware(options);
    sim::test::loadLibraries(hardware);
    std::vector<std::uint8_t> table(hardware.ostrel().GetDMILength(nullptr));
    ASSERT_TRUE(hardware.ostrel().GetDMIData(table.data(), static_cast<std::uint32_t>(table.size())));
    const auto structures = walk(table);
    EXPECT_EQ(first(structures, 0).string(5), "V7.02");
    EXPECT_EQ(first(structures, 2).string(6), "5.0");
    EXPECT_EQ(first(structures, 1).string(5), "KX-2916");

    // A short buffer gets the start of the table; no buffer, nothing.
    std::vector<std::uint8_t> start(8, 0xEE);
    EXPECT_TRUE(hardware.ostrel().GetDMIData(start.data(), 4));
    EXPECT_EQ(std::vector<std::uint8_t>(start.begin(), start.begin() + 4),
              std::vector<std::uint8_t>(table.begin(), table.begin() + 4));
    EXPECT_EQ(start[4], 0xEE);
    EXPECT_FALSE(hardware.ostrel().GetDMIData(nullptr, 100));
}

} // namespace
} // namespace solvane::sim
