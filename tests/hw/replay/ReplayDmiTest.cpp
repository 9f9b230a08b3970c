#include "hw/replay/ReplayDmi.h"

#include "hw/smbios/SmbiosTableReader.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <numeric>

namespace solvane::hw {
namespace {

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// How many structures dmidecode printed ("Handle 0x...." lines) for a dump.
int dmidecodeHandles(const std::filesystem::path& expected) {
    std::ifstream in(expected);
    int handles = 0;
    for (std::string line; std::getline(in, line);)
        handles += line.starts_with("Handle 0x") ? 1 : 0;
    return handles;
}

int walkedStructures(const std::vector<std::uint8_t>& table) {
    SmbiosTableReader reader(table);
    int structures = 0;
    while (reader.next())
        ++structures;
    return structures;
}

TEST(ReplayDmi, DumpBinFilesGiveTheTableDmidecodeWalked) {
    const auto realData = test::realDataFolder();
    int files = 0;
    for (const auto folder : {"dumpbin", "derived-dumpbin"})
        for (const auto& entry : std::filesystem::directory_iterator(realData / "smbios" / folder)) {
            SCOPED_TRACE(entry.path().filename().string());
            const auto file = readBytes(entry.path());
            const auto table = parseDmiDump(file);
            ASSERT_TRUE(table.ok()) << table.error();
            // dmidecode --dump-bin puts the table right after the 32 bytes of the entry point.
            EXPECT_EQ(table.value().size(), file.size() - 0x20);
            EXPECT_TRUE(std::equal(table.value().begin(), table.value().end(), file.begin() + 0x20));
            const auto expected =
                realData / "smbios" / "expected" / (entry.path().stem().string() + ".dmidecode.txt");
            EXPECT_EQ(walkedStructures(table.value()), dmidecodeHandles(expected));
            ++files;
        }
    EXPECT_EQ(files, 13);
}

TEST(ReplayDmi, TablesSavedFromSysfsAreTakenAsTheyAre) {
    const auto realData = test::realDataFolder();
    for (const auto& entry : std::filesystem::directory_iterator(realData / "smbios" / "rawtable")) {
        SCOPED_TRACE(entry.path().filename().string());
        const auto file = readBytes(entry.path());
        const auto table = parseDmiDump(file);
        ASSERT_TRUE(table.ok()) << table.error();
        // One of them was saved with its "_SM3_" entry point in front, pointing at offset 0x20.
        const std::string anchor(file.begin(), file.begin() + 5);
        const auto start = anchor == "_SM3_" ? 0x20 : 0;
        EXPECT_EQ(table.value(), std::vector<std::uint8_t>(file.begin() + start, file.end()));
    }
}

// A "_SM_" entry point whose table of one end-of-table structure follows at 0x20.
std::vector<std::uint8_t> smallDump() {
    std::vector<std::uint8_t> file(0x20 + 6, 0);
    const std::string anchor = "_SM_";
    std::copy(anchor.begin(), anchor.end(), file.begin());
    file[0x05] = 0x1F;
    file[0x06] = 2;
    file[0x07] = 8;
    const std::string intermediate = "_DMI_";
    std::copy(intermediate.begin(), intermediate.end(), file.begin() + 0x10);
    file[0x16] = 6; // table length
    file[0x18] = 0x20;
    file[0x1C] = 1;
    const std::uint8_t table[] = {127, 4, 0, 0, 0, 0};
    std::copy(std::begin(table), std::end(table), file.begin() + 0x20);
    const auto fix = [&file](std::size_t start, std::size_t length, std::size_t checksum) {
        file[checksum] = 0;
        const unsigned sum = std::accumulate(file.begin() + static_cast<long>(start),
                                             file.begin() + static_cast<long>(start + length), 0U);
        file[checksum] = static_cast<std::uint8_t>(256 - sum % 256);
    };
    fix(0x10, 0x0F, 0x15);
    fix(0, 0x1F, 0x04);
    return file;
}

TEST(ReplayDmi, RefusesBrokenEntryPointsAndTables) {
    ASSERT_TRUE(parseDmiDump(smallDump()).ok()) << parseDmiDump(smallDump()).error();
    EXPECT_EQ(parseDmiDump(smallDump()).value(), std::vector<std::uint8_t>({127, 4, 0, 0, 0, 0}));

    auto badChecksum = smallDump();
    ++badChecksum[0x08];
    auto outside = smallDump();
    outside[0x18] = 0x40; // still sums to zero with the next change
    outside[0x04] = static_cast<std::uint8_t>(outside[0x04] - 0x20);
    outside[0x15] = static_cast<std::uint8_t>(outside[0x15] - 0x20);
    auto zeroLength = smallDump();
    zeroLength[0x21] = 0; // the structure's length byte: below its own header
    const std::vector<std::uint8_t> prose{'h', 'e', 'l', 'l', 'o', '\n'};
    const auto whole = smallDump();
    const std::vector<std::uint8_t> cutShort(whole.begin(), whole.begin() + 0x12);

    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        const char* message;
    };
    const Case cases[] = {
        {"empty", {}, "the file is empty"},
        {"checksum", badChecksum, "entry point at offset 0 is cut short, fails its checksum"},
        {"outside", outside, "places its table outside the file"},
        {"cut short", cutShort, "cut short"},
        {"broken table", zeroLength, "the table the entry point gives does not start with a readable SMBIOS"},
        {"prose", prose, "neither an SMBIOS entry point nor a structure table"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto table = parseDmiDump(c.file);
        ASSERT_FALSE(table.ok());
        EXPECT_NE(table.error().find(c.message), std::string::npos) << table.error();
    }
}

} // namespace
} // namespace solvane::hw
