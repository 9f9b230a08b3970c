#include "power/IdentifyPlatform.h"

#include "FakeFirmware.h"
#include "hw/smbios/SmbiosDump.h"
#include "support/DmidecodeOutput.h"
#include "support/SmbiosBuilder.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace solvane::power {
namespace {

using test::SmbiosIdentity;

PlatformInfo identify(const std::vector<std::uint8_t>& table) {
    test::FakeFirmware firmware;
    firmware.table = table;
    PlatformInfo platform;
    IdentifyPlatform(firmware, platform);
    return platform;
}

PlatformInfo identify(const SmbiosIdentity& identity) {
    return identify(test::identityTable(identity));
}

TEST(IdentifyPlatform, TarvokBaseboardNameGivesModelPrefixAndBoardString) {
    SmbiosIdentity identity;
    identity.baseboardProduct = "Elm-E4 (KX-2917)";
    const auto platform = identify(identity);
    EXPECT_EQ(platform.BoardModelPrefix, "Elm-E4 ");
    EXPECT_EQ(platform.BoardString, "KX-2917");
    EXPECT_EQ(platform.BoardCode, 2917);

    EXPECT_EQ(platform.biosVendor, "Tarvok BIOS Works");
    EXPECT_EQ(platform.biosVersion, "V1.4");
    EXPECT_EQ(platform.biosReleaseDate, "06/15/2009");
    EXPECT_EQ(platform.baseboardManufacturer, "Tarvok");
    EXPECT_EQ(platform.baseboardVersion, "1.0");
    EXPECT_EQ(platform.baseboardSerialNumber, "TV0123456789");
    EXPECT_EQ(platform.processorId, "BFEBFBFF 000106A4") << "high half first";
    EXPECT_EQ(platform.processorVersion, "Intel(R) Core(TM) i7 CPU 920 @ 2.67GHz");
    EXPECT_EQ(platform.externalClock, "133 MHz");
}

TEST(IdentifyPlatform, BoardStringRulesForOtherProductNames) {
    struct Case {
        const char* system;
        const char* baseboard;
        const char* boardString;
        const char* prefix;
        int code;
    };
    const Case cases[] = {
        // Without "KX-" the system product name stays, cut to seven characters.
        {"MS-7816 Desktop", "H87-G43 (MS-7816)", "MS-7816", "", 0},
        // A "(" in the system product name is cut as well.
        {"Foo (Bar Baz Qux)", "Plain Board", "Bar Baz", "Foo ", 0},
        {"Short", "", "Short", "", 0},
        // A board code without its model name in front.
        {"System", "KX-2911", "KX-2911", "", 2911},
        // Seven characters after "(" even when the code is followed by more.
        {"System", "Cedar-C4 (KX-2911) rev 2", "KX-2911", "Cedar-C4 ", 2911},
        // A name cut short inside the parentheses keeps what there is.
        {"System", "Odd (KX-29", "KX-29", "Odd ", 29},
        {"System", "Garbled (KX-29X7)", "KX-29X7", "Garbled ", 0},
    };
    for (const auto& c : cases) {
        SmbiosIdentity identity;
        identity.systemProduct = c.system;
        identity.baseboardProduct = c.baseboard;
        const auto platform = identify(identity);
        EXPECT_EQ(platform.BoardString, c.boardString) << c.baseboard;
        EXPECT_EQ(platform.BoardModelPrefix, c.prefix) << c.baseboard;
        EXPECT_EQ(platform.BoardCode, c.code) << c.baseboard;
    }
}

TEST(IdentifyPlatform, BoardCodeIsTheCodeTextLeftWithoutKx) {
    EXPECT_EQ(boardCodeOf("KX-2911"), 2911);
    EXPECT_EQ(boardCodeOf("2911"), 2911);
    EXPECT_EQ(boardCodeOf("KX-KX-2911"), 2911) << "every KX- is removed";
    EXPECT_EQ(boardCodeOf("KX-0291"), 291);
    EXPECT_EQ(boardCodeOf("2911abc"), 0);
    EXPECT_EQ(boardCodeOf(" 2911"), 0);
    EXPECT_EQ(boardCodeOf("KX-"), 0);
    EXPECT_EQ(boardCodeOf(""), 0);
    EXPECT_EQ(boardCodeOf("12345678901"), 0) << "too long for a board number";
}

TEST(IdentifyPlatform, AnEmptySecondSocketKeepsTheProcessorFound) {
    SmbiosIdentity populated;
    populated.baseboardProduct = "Elm-E4 (KX-2917)";
    SmbiosIdentity empty = populated;
    empty.processorVersion = "";
    empty.processorId = 0;
    empty.externalClock = 0;
    empty.socketPopulated = false;
    const auto table = test::tableOf({test::biosRecord(populated), test::processorRecord(populated, 4),
                                      test::processorRecord(empty, 5), test::endOfTableRecord()});
    const auto platform = identify(table);
    EXPECT_EQ(platform.processorVersion, populated.processorVersion);
    EXPECT_EQ(platform.externalClock, "133 MHz");

    // Alone, the empty socket is still what the firmware reports.
    const auto alone = identify(test::tableOf({test::processorRecord(empty, 5), test::endOfTableRecord()}));
    EXPECT_EQ(alone.processorId, "00000000 00000000");
    EXPECT_EQ(alone.externalClock, "0 MHz");
}

TEST(IdentifyPlatform, ReadsTheWholeTableToItsEndOrItsLength) {
    SmbiosIdentity identity;
    identity.baseboardProduct = "Elm-E4 (KX-2917)";
    std::vector<test::SmbiosRecord> records = {test::biosRecord(identity)};
    for (int i = 0; i < 200; ++i)
        records.push_back(test::SmbiosRecord(0x88, 4, static_cast<std::uint16_t>(0x100 + i)));
    records.push_back(test::baseboardRecord(identity));
    // Without an end-of-table structure the walk ends with the table's length.
    EXPECT_EQ(identify(test::tableOf(records)).BoardCode, 2917) << "the 202nd structure is read";

    // Nothing after the end of the table counts.
    SmbiosIdentity other = identity;
    other.baseboardProduct = "Elm-E1 (KX-2910)";
    records.push_back(test::endOfTableRecord());
    records.push_back(test::baseboardRecord(other));
    EXPECT_EQ(identify(test::tableOf(records)).BoardCode, 2917);
}

TEST(IdentifyPlatform, AMalformedStructureEndsTheWalkWithWhatWasFound) {
    SmbiosIdentity identity;
    identity.baseboardProduct = "Elm-E4 (KX-2917)";
    auto table = test::biosRecord(identity).bytes();
    const std::vector<std::uint8_t> zeroLength = {0x02, 0x00, 0x02, 0x00, 0x00, 0x00};
    table.insert(table.end(), zeroLength.begin(), zeroLength.end());
    const auto rest = test::tableOf({test::baseboardRecord(identity), test::endOfTableRecord()});
    table.insert(table.end(), rest.begin(), rest.end());

    const auto platform = identify(table);
    EXPECT_EQ(platform.biosVersion, "V1.4");
    EXPECT_EQ(platform.BoardString, "");
    EXPECT_EQ(platform.BoardCode, 0);
}

TEST(IdentifyPlatform, WithoutATableEverythingStaysEmpty) {
    SmbiosIdentity identity;
    identity.baseboardProduct = "Elm-E4 (KX-2917)";

    test::FakeFirmware none;
    PlatformInfo platform;
    IdentifyPlatform(none, platform);
    EXPECT_EQ(none.dataCalls, 0) << "a length of 0 stops before the data is asked for";
    EXPECT_EQ(platform.BoardString, "");

    test::FakeFirmware refusing;
    refusing.table = test::identityTable(identity);
    refusing.delivers = false;
    IdentifyPlatform(refusing, platform);
    EXPECT_EQ(platform.BoardCode, 0);
    EXPECT_EQ(platform.biosVendor, "");

    test::FakeFirmware absurd;
    absurd.table = test::identityTable(identity);
    absurd.reportedLength = 0xFFFFFFF0U;
    IdentifyPlatform(absurd, platform);
    EXPECT_EQ(absurd.dataCalls, 0) << "no buffer of that size is made";
    EXPECT_EQ(platform.BoardCode, 0);

    // A library that reports more than it fills: the rest of the buffer reads as the end.
    test::FakeFirmware shortTable;
    shortTable.table = test::identityTable(identity);
    shortTable.reportedLength = static_cast<std::uint32_t>(shortTable.table.size() + 64);
    IdentifyPlatform(shortTable, platform);
    EXPECT_EQ(platform.BoardCode, 2917);
}

// What the identification should hold after every structure dmidecode printed: the last BIOS,
// baseboard and (populated) processor strings, and the board string by its rules.
PlatformInfo expectedFrom(const std::vector<test::PrintedStructure>& printed) {
    const auto text = [](const test::PrintedStructure& block, const char* key) {
        const auto value = block.field(key);
        return value == "Not Specified" || value == "<BAD INDEX>" ? std::string() : value;
    };
    PlatformInfo expected;
    bool haveProcessor = false;
    for (const auto& block : printed) {
        if (block.type == 0) {
            expected.biosVendor = text(block, "Vendor");
            expected.biosVersion = text(block, "Version");
            expected.biosReleaseDate = text(block, "Release Date");
        } else if (block.type == 1) {
            expected.BoardString = text(block, "Product Name");
        } else if (block.type == 2) {
            expected.baseboardManufacturer = text(block, "Manufacturer");
            expected.baseboardVersion = text(block, "Version");
            expected.baseboardSerialNumber = text(block, "Serial Number");
            const auto product = text(block, "Product Name");
            if (product.find("KX-") != std::string::npos)
                expected.BoardString = product;
            const auto open = expected.BoardString.find('(');
            expected.BoardString = open == std::string::npos ? expected.BoardString.substr(0, 7)
                                                             : expected.BoardString.substr(open + 1, 7);
        } else if (block.type == 4 && (!haveProcessor || block.field("Status").starts_with("Populated"))) {
            haveProcessor = true;
            const auto id = block.field("ID"); // "C3 06 03 00 FF FB EB BF": low half first
            std::string high;
            std::string low;
            for (int byte = 7; byte >= 0; --byte)
                (byte >= 4 ? high : low) += id.substr(static_cast<std::size_t>(byte) * 3, 2);
            expected.processorId = high + " " + low;
            expected.processorVersion = text(block, "Version");
            const auto clock = block.field("External Clock");
            expected.externalClock = clock == "Unknown" ? "0 MHz" : clock;
        }
    }
    return expected;
}

TEST(IdentifyPlatform, RealTablesGiveDmidecodesStrings) {
    const auto root = test::realDataFolder();
    int files = 0;
    for (const auto* sub : {"dumpbin", "derived-dumpbin"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root / "smbios" / sub)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
            const auto dump = hw::readSmbiosDump(bytes);
            ASSERT_TRUE(dump) << entry.path();
            const auto expected = expectedFrom(test::readDmidecodeOutput(
                root / "smbios" / "expected" / (entry.path().stem().string() + ".dmidecode.txt")));

            test::FakeFirmware firmware;
            firmware.table.assign(dump->table.begin(), dump->table.end());
            PlatformInfo platform;
            IdentifyPlatform(firmware, platform);

            const auto name = entry.path().filename().string();
            EXPECT_EQ(platform.biosVendor, expected.biosVendor) << name;
            EXPECT_EQ(platform.biosVersion, expected.biosVersion) << name;
            EXPECT_EQ(platform.biosReleaseDate, expected.biosReleaseDate) << name;
            EXPECT_EQ(platform.BoardString, expected.BoardString) << name;
            EXPECT_EQ(platform.baseboardManufacturer, expected.baseboardManufacturer) << name;
            EXPECT_EQ(platform.baseboardVersion, expected.baseboardVersion) << name;
            EXPECT_EQ(platform.baseboardSerialNumber, expected.baseboardSerialNumber) << name;
            EXPECT_EQ(platform.processorId, expected.processorId) << name;
            EXPECT_EQ(platform.processorVersion, expected.processorVersion) << name;
            EXPECT_EQ(platform.externalClock, expected.externalClock) << name;
            EXPECT_EQ(platform.BoardCode, 0) << name << ": no Tarvok board among them";
            ++files;
        }
    }
    EXPECT_GE(files, 13);
}

// Machines checked by hand against dmidecode: the MSI, Synology and Beelink tables, whose processor
// structure comes after dozens of others, and the server whose second socket is empty (the first
// socket's processor is kept).
TEST(IdentifyPlatform, RealTablesSpotChecks) {
    const auto root = test::realDataFolder();
    const auto identifyFile = [&](const char* file) {
        std::ifstream in(root / "smbios" / file, std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        PlatformInfo platform;
        identifyFromSmbiosTable(hw::readSmbiosDump(bytes).value().table, platform);
        return platform;
    };
    const auto msi = identifyFile("dumpbin/u-root__MSI-MS-7816.bin");
    EXPECT_EQ(msi.BoardString, "MS-7816");
    EXPECT_EQ(msi.biosVersion, "V2.14B14");
    EXPECT_EQ(msi.processorId, "BFEBFBFF 000306C3");
    EXPECT_EQ(msi.processorVersion, "Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz");
    EXPECT_EQ(msi.externalClock, "100 MHz");

    const auto synology = identifyFile("dumpbin/u-root__Synology-RS3614xsp.bin");
    EXPECT_EQ(synology.processorId, "BFEBFBFF 000306A9");
    EXPECT_EQ(synology.processorVersion, "Intel(R) Xeon(R) CPU E3-1230 V2 @ 3.30GHz");

    const auto beelink = identifyFile("derived-dumpbin/go-smbios__Beelink-EQ12.sm3wrapped.bin");
    EXPECT_EQ(beelink.processorId, "BFEBFBFF 000B06E0");
    EXPECT_EQ(beelink.processorVersion, "Intel(R) N100");
    EXPECT_EQ(beelink.externalClock, "100 MHz");

    const auto dell = identifyFile("rawtable/go-smbios__Dell-PowerEdge-R630-Dual-Xeon.dmi");
    EXPECT_EQ(dell.processorVersion, "Intel(R) Xeon(R) CPU E5-2630 v3 @ 2.40GHz");
    EXPECT_EQ(dell.externalClock, "6400 MHz");
}

} // namespace
} // namespace solvane::power
