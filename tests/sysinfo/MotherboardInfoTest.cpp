#include "sysinfo/MotherboardInfo.h"

#include "sysinfo/BoardModelName.h"
#include "sysinfo/BridgeRows.h"
#include "sysinfo/ProcessorFields.h"
#include "sysinfo/SuperIoIdentity.h"

#include <gtest/gtest.h>
#include <map>

namespace solvane::sysinfo {
namespace {

using Value = MotherboardValue;
using Property = hw::VideoControllerQuery::Property;

// Super I/O identification registers of logical device 4; every other access reads 0xFF.
class FakeSuperIo final : public hw::Ostrel {
public:
    std::map<std::uint8_t, std::uint8_t> registers;
    int otherAccesses = 0;

    std::uint8_t Get_EFERs(std::uint16_t port, std::uint8_t device, std::uint8_t reg, std::uint8_t data,
                           std::uint8_t readFlag) override {
        if (port != 0x4E || device != 4 || data != 0 || readFlag != 1) {
            ++otherAccesses;
            return 0xFF;
        }
        const auto found = registers.find(reg);
        return found == registers.end() ? 0xFF : found->second;
    }
    std::uint8_t GetCmosAddressByte(std::uint8_t, std::uint16_t) override { return 0; }
    void WriteCmosAddressByte(std::uint8_t, std::uint8_t, std::uint16_t) override {}
    void FanControl(std::uint8_t, std::uint8_t, int) override {}
    std::uint32_t GetDMILength(std::uint32_t*) override { return 0; }
    bool GetDMIData(std::uint8_t*, std::uint32_t) override { return false; }
};

FakeSuperIo fintek(std::uint8_t reg20, std::uint8_t reg21) {
    FakeSuperIo chip;
    chip.registers = {{0x24, 0x34}, {0x23, 0x19}, {0x20, reg20}, {0x21, reg21}};
    return chip;
}

TEST(SuperIoIdentity, NamesTheFintekChipFromItsIdHighByteFirst) {
    auto chip = fintek(0x07, 0x23);
    EXPECT_EQ(identifySuperIo(chip), (SuperIoIdentity{"Fintek", "F71889F"}));
    chip = fintek(0x05, 0x41);
    EXPECT_EQ(identifySuperIo(chip), (SuperIoIdentity{"Fintek", "F71882FG"}));
    chip = fintek(0x23, 0x07); // the bytes the other way round: no such chip
    EXPECT_EQ(identifySuperIo(chip), (SuperIoIdentity{"Fintek", ""}));
    EXPECT_EQ(chip.otherAccesses, 0);
}

TEST(SuperIoIdentity, AnotherVendorLeavesBothTextsEmpty) {
    auto chip = fintek(0x07, 0x23);
    chip.registers[0x24] = 0x19; // vendor bytes swapped
    chip.registers[0x23] = 0x34;
    EXPECT_EQ(identifySuperIo(chip), SuperIoIdentity{});
    FakeSuperIo absent; // nothing answers: all ones
    EXPECT_EQ(identifySuperIo(absent), SuperIoIdentity{});
}

power::PlatformInfo board(std::string boardString, std::string baseboardVersion = {},
                          std::string prefix = {}) {
    power::PlatformInfo platform;
    platform.BoardString = std::move(boardString);
    platform.baseboardVersion = std::move(baseboardVersion);
    platform.BoardModelPrefix = std::move(prefix);
    return platform;
}

TEST(BoardModelName, TheFirmwaresModelPrefixWins) {
    EXPECT_EQ(boardModelName(board("KX-2917", "1.0", "Elm-E4 "), false), "Elm-E4 ");
    EXPECT_EQ(boardModelName(board("KX-2904", "5.0", "Birch "), true), "Birch ");
}

TEST(BoardModelName, EachBoardCodeNamesItsRecord) {
    const std::map<std::string, std::string> expected{
        {"KX-2901", "Alder-A1"},   {"KX-2902", "Alder-A2"},   {"KX-2903", "Alder-A3"},
        {"KX-2905", "Cedar-C1"},   {"KX-2906", "Cedar-C2"},   {"KX-2907", "Cedar-C3"},
        {"KX-2908", "Dogwood-D1"}, {"KX-2909", "Dogwood-D2"}, {"KX-2910", "Elm-E1"},
        {"KX-2911", "Cedar-C4"},   {"KX-2912", "Cedar-C5"},   {"KX-2913", "Birch-B6"},
        {"KX-2914", "Dogwood-D3"}, {"KX-2915", "Elm-E2"},     {"KX-2916", "Elm-E3"},
        {"KX-2917", "Elm-E4"},
    };
    for (const auto& [boardString, name] : expected)
        EXPECT_EQ(boardModelName(board(boardString), true), name) << boardString;
}

TEST(BoardModelName, Board2904NamesItsRevision) {
    struct Case {
        std::string_view version;
        bool noDdr3;
        std::string_view name;
    };
    for (const auto& [version, noDdr3, name] : {
             Case{"4.0", false, "Birch-B3"},
             Case{"5.0", true, "Birch-B4"}, // the version decides even without DDR3
             Case{"Rev 6.0", false, "Birch-B5"},
             Case{"4.0 5.0", false, "Birch-B3"}, // the first rule that matches
             Case{"1.0", true, "Birch-B2"},
             Case{"1.0", false, "Birch-B1"},
             Case{"", true, "Birch-B2"},
         })
        EXPECT_EQ(boardModelName(board("KX-2904", std::string(version)), noDdr3), name) << version;
}

TEST(BoardModelName, OpenCasesShowSomethingSensible) {
    // A board without a record shows its board string.
    EXPECT_EQ(boardModelName(board("KX-2918"), false), "KX-2918");
    EXPECT_EQ(boardModelName(board("OptiPle"), false), "OptiPle");
    EXPECT_EQ(boardModelName(board(""), false), "");
    // 2908 of version 2.0 keeps the only name its record has.
    EXPECT_EQ(boardModelName(board("KX-2908", "2.0"), false), "Dogwood-D1");
    // Only the 2904 record has revision names.
    EXPECT_EQ(boardModelName(board("KX-2913", "5.0"), true), "Birch-B6");
}

TEST(BridgeRows, AnIntelSouthBridgeKeepsTheIntelCaptions) {
    const auto rows = bridgeRows({"Intel", "X58", "Intel", "ICH10R", "", 0});
    EXPECT_EQ(rows.north, (BridgeRow{"IOH ", "Intel", "X58"}));
    EXPECT_EQ(rows.south, (BridgeRow{"ICH ", "Intel", "ICH10R"}));
}

TEST(BridgeRows, OtherSouthBridgesReadNbAndSb) {
    auto rows = bridgeRows({"AMD", "RS780", "AMD", "SB700", "", 0});
    EXPECT_EQ(rows.north, (BridgeRow{"NB", "AMD", "RS780"}));
    EXPECT_EQ(rows.south, (BridgeRow{"SB", "AMD", "SB700"}));
    rows = bridgeRows({"Intel", "X58", "", "", "", 0}); // no ISA bridge found
    EXPECT_EQ(rows.north, (BridgeRow{"NB", "Intel", "X58"}));
    EXPECT_EQ(rows.south, (BridgeRow{"SB", "", ""}));
    rows = bridgeRows({"Intel", "P45", "intel", "ICH10", "", 0}); // exact text only
    EXPECT_EQ(rows.north.caption, "NB");
}

TEST(BridgeRows, AnNvidiaChipsetServesBothRows) {
    const auto rows = bridgeRows({"AMD", "K8", "NVidia", "MCP72P", "", 0});
    EXPECT_EQ(rows.north, (BridgeRow{"NB", "NVidia", "MCP72P"}));
    EXPECT_EQ(rows.south, (BridgeRow{"SB", "NVidia", "MCP72P"}));
}

TEST(ProcessorFields, TheNameLosesTheEmptySpeedAndThePadding) {
    EXPECT_EQ(cleanProcessorName("Intel(R) Core(TM)2 Quad CPU    Q9550  @ 2.83GHz"),
              "Intel(R) Core(TM)2 Quad CPUQ9550  @ 2.83GHz"); // four blanks, gone whole
    EXPECT_EQ(cleanProcessorName("Intel(R) Core(TM) i7 CPU         920  @ 0000 2.67GHz"),
              "Intel(R) Core(TM) i7 CPU 920  2.67GHz");
    EXPECT_EQ(cleanProcessorName("AMD Phenom(tm)        II"), "AMD Phenom(tm)II"); // eight blanks
    EXPECT_EQ(cleanProcessorName("A       B"), "A   B");                           // seven: three stay
    EXPECT_EQ(cleanProcessorName("@ 0000 @ 0000 "), "");
    EXPECT_EQ(cleanProcessorName(""), "");
}

TEST(ProcessorFields, FamilyModelAndSteppingAreTheLastThreeCharacters) {
    const auto signature = processorSignature("BFEBFBFF 000106A5");
    ASSERT_TRUE(signature);
    EXPECT_EQ(signature->family, '6');
    EXPECT_EQ(signature->model, 'A');
    EXPECT_EQ(signature->stepping, '5');
    EXPECT_FALSE(processorSignature(""));
    EXPECT_FALSE(processorSignature("A5"));
}

// The graphics library as the test sets it up, recording its calls.
class FakeGraphicsLibrary final : public hw::Pexmon {
public:
    int usable = 1;
    std::optional<std::string> biosVersion; // written into the buffer when set
    std::optional<std::string> driverVersion;
    int calls = 0;

    int Init() override {
        ++calls;
        return usable;
    }
    void GetVGABIOSVersion(std::string& text) override {
        ++calls;
        if (biosVersion)
            text = *biosVersion;
    }
    void GetDriverVersion(std::string& text) override {
        ++calls;
        if (driverVersion)
            text = *driverVersion;
    }
};

class FakeControllers final : public hw::VideoControllerQuery {
public:
    std::vector<std::string> names{"NVIDIA GeForce 9800 GT"};
    std::vector<std::string> driverVersions{"6.14.11.8122"};
    std::vector<std::string> values(Property property) const override {
        return property == Property::Name ? names : driverVersions;
    }
};

class MotherboardInfoTest : public ::testing::Test {
protected:
    MotherboardInfoTest() : superIo(fintek(0x07, 0x23)) {
        platform = board("KX-2917", "1.0");
        platform.baseboardManufacturer = "Tarvok";
        platform.baseboardSerialNumber = "TK1234";
        platform.biosVendor = "Tarvok BIOS";
        platform.biosVersion = "V1.3";
        platform.biosReleaseDate = "05/12/2009";
        platform.processorId = "BFEBFBFF 000106A4";
        platform.processorVersion = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz";
        platform.externalClock = "133 MHz";
        facts = {"Intel", "X58", "Intel", "ICH10R", "", 2};
    }

    MotherboardInfo gather() {
        return gatherMotherboardInfo(
            {platform, facts, 8, false, "1.184 V", superIo, library, controllers, [this] {
                 ++probeRuns;
                 return probeVersion;
             }});
    }

    power::PlatformInfo platform;
    PciPlatformFacts facts;
    FakeSuperIo superIo;
    FakeGraphicsLibrary library;
    FakeControllers controllers;
    std::string probeVersion = "62.92.7E.00.20";
    int probeRuns = 0;
};

TEST_F(MotherboardInfoTest, FillsEveryFieldFromItsSource) {
    library.biosVersion = "62.92.7E.00.20";
    library.driverVersion = "6.14.11.8250";
    facts.GraphicsChip = "GeForce 9800 GT";
    const auto info = gather();
    const std::map<Value, std::string> expected{
        {Value::Manufacturer, "Tarvok"},
        {Value::ProductName, "Elm-E4"},
        {Value::SerialNumber, "TK1234"},
        {Value::VendorName, "Tarvok BIOS"},
        {Value::Version, "V1.3"},
        {Value::BuildDate, "05/12/2009"},
        {Value::ProcessorName, "Intel(R) Core(TM) i7 CPU 920  @ 2.67GHz"},
        {Value::CoreVoltage, "1.184 V"},
        {Value::ExternalClock, "133 MHz"},
        {Value::NumberOfProcessors, "8"},
        {Value::ProcessorId, "BFEBFBFF 000106A4"},
        {Value::Family, "6"},
        {Value::Model, "A"},
        {Value::Stepping, "4"},
        {Value::Chipset, "GeForce 9800 GT"},
        {Value::BiosVersion, "62.92.7E.00.20"},
        {Value::DriverVersion, "6.14.11.8250"},
    };
    ASSERT_EQ(expected.size(), kMotherboardValueCount);
    for (const auto& [value, text] : expected)
        EXPECT_EQ(info.value(value), text) << kMotherboardValueCaptions[static_cast<std::size_t>(value)];
    EXPECT_EQ(info.bridges.north, (BridgeRow{"IOH ", "Intel", "X58"}));
    EXPECT_EQ(info.superIo, (SuperIoIdentity{"Fintek", "F71889F"}));
    EXPECT_EQ(probeRuns, 0);
}

TEST_F(MotherboardInfoTest, WithoutAProcessorIdentifierFamilyModelAndSteppingStayUntouched) {
    platform.processorId.clear();
    const auto info = gather();
    EXPECT_FALSE(info.value(Value::Family));
    EXPECT_FALSE(info.value(Value::Model));
    EXPECT_FALSE(info.value(Value::Stepping));
    EXPECT_EQ(info.value(Value::ProcessorId), "");
}

TEST_F(MotherboardInfoTest, AnUnusableLibraryLeavesTheManagementDriverVersionAndTheProbe) {
    library.usable = 0;
    library.biosVersion = "never";
    library.driverVersion = "never";
    const auto info = gather();
    EXPECT_EQ(library.calls, 1); // Init only
    EXPECT_EQ(info.value(Value::DriverVersion), "6.14.11.8122");
    EXPECT_EQ(info.value(Value::BiosVersion), "62.92.7E.00.20");
    EXPECT_EQ(probeRuns, 1);
    // The PCI scan found no graphics chip: the adapter's name stands in.
    EXPECT_EQ(info.value(Value::Chipset), "NVIDIA GeForce 9800 GT");
}

TEST_F(MotherboardInfoTest, TheProbeRunsOnlyWhileTheBiosVersionReadsUnknown) {
    library.driverVersion = "8.632.0.0";
    auto info = gather(); // the library leaves the buffer alone
    EXPECT_EQ(probeRuns, 1);
    EXPECT_EQ(info.value(Value::BiosVersion), "62.92.7E.00.20");
    EXPECT_EQ(info.value(Value::DriverVersion), "8.632.0.0");
    probeVersion.clear();
    info = gather(); // the probe finds nothing either: an empty field, not "Unknown"
    EXPECT_EQ(info.value(Value::BiosVersion), "");
    library.biosVersion = "unknown"; // any other text is the library's answer
    info = gather();
    EXPECT_EQ(probeRuns, 2);
    EXPECT_EQ(info.value(Value::BiosVersion), "unknown");
}

TEST_F(MotherboardInfoTest, GraphicsTextsAreCutToTheirBuffers) {
    controllers.driverVersions = {"nvidia 535.129.03"};
    library.usable = 0;
    EXPECT_EQ(gather().value(Value::DriverVersion), "nvidia 535.129.");
    library.usable = 1;
    library.biosVersion = "0123456789ABCDEF";
    library.driverVersion = "exactly15chars!";
    const auto info = gather();
    EXPECT_EQ(info.value(Value::BiosVersion), "0123456789ABCDE");
    EXPECT_EQ(info.value(Value::DriverVersion), "exactly15chars!");
    // The chip name is not a buffer of the library: it stays whole.
    controllers.names = {"Intel(R) G41 Express Chipset"};
    EXPECT_EQ(gather().value(Value::Chipset), "Intel(R) G41 Express Chipset");
}

TEST_F(MotherboardInfoTest, NoAdapterInstanceGivesEmptyGraphicsFields) {
    controllers.names.clear();
    controllers.driverVersions.clear();
    library.usable = 0;
    probeVersion.clear();
    const auto info = gather();
    EXPECT_EQ(info.value(Value::Chipset), "");
    EXPECT_EQ(info.value(Value::DriverVersion), "");
    EXPECT_EQ(info.value(Value::BiosVersion), "");
}

TEST_F(MotherboardInfoTest, AnEmptyPlatformShowsEmptyTextsAndTheOtherCaptions) {
    platform = {};
    facts = {};
    superIo.registers.clear();
    const auto info = gather();
    EXPECT_EQ(info.value(Value::Manufacturer), "");
    EXPECT_EQ(info.value(Value::ProductName), "");
    EXPECT_EQ(info.value(Value::ProcessorName), "");
    EXPECT_EQ(info.bridges.north.caption, "NB");
    EXPECT_EQ(info.bridges.south.caption, "SB");
    EXPECT_EQ(info.superIo, SuperIoIdentity{});
}

} // namespace
} // namespace solvane::sysinfo
