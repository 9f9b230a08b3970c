#include "hw/replay/ReplaySpd.h"

#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>

namespace solvane::hw {
namespace {

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

ReplayResult<std::vector<std::uint8_t>> parseText(const std::string& text) {
    return parseSpdImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// The normalised binaries of spd/bin, by name without ".bin".
std::map<std::string, std::filesystem::path> realBinaries(const std::filesystem::path& realData) {
    std::map<std::string, std::filesystem::path> binaries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(realData / "spd" / "bin"))
        if (entry.path().extension() == ".bin")
            binaries.emplace(entry.path().stem().string(), entry.path());
    return binaries;
}

// spd/orig/<source>/<name>.spd[.hex] was normalised to spd/bin/<type>/<source>__<name>.bin; the
// illumos names carry a "ddr3__" folder prefix that the binary drops.
std::string binaryNameOf(const std::filesystem::path& original) {
    const std::string source = original.parent_path().filename().string();
    std::string name = original.filename().string();
    std::string lowered = name;
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    name = name.substr(0, lowered.find(".spd"));
    if (source == "illumos")
        name = name.substr(name.find("__") + 2);
    return source + "__" + name;
}

TEST(ReplaySpd, RealDumpsInTextAndBinaryFormsGiveTheSameBytes) {
    const auto realData = test::realDataFolder();
    const auto binaries = realBinaries(realData);
    ASSERT_GE(binaries.size(), 20U);
    for (const auto& [name, path] : binaries) {
        SCOPED_TRACE(name);
        const auto bytes = readBytes(path);
        const auto parsed = parseSpdImage(bytes);
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value(), bytes);
    }
    int originals = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(realData / "spd" / "orig")) {
        if (!entry.is_regular_file())
            continue;
        SCOPED_TRACE(entry.path().string());
        const auto binary = binaries.find(binaryNameOf(entry.path()));
        ASSERT_NE(binary, binaries.end());
        const auto parsed = parseSpdImage(readBytes(entry.path()));
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value(), readBytes(binary->second));
        ++originals;
    }
    EXPECT_EQ(originals, static_cast<int>(binaries.size()));
}

// The "Part Number" decode-dimms printed for a DDR3 image; empty when it printed none.
std::string expectedPartNumber(const std::filesystem::path& expected) {
    std::ifstream in(expected);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("Part Number")) {
            const auto value = line.find_first_not_of(' ', std::string("Part Number").size());
            const auto end = line.find_last_not_of(' ');
            return value == std::string::npos ? std::string() : line.substr(value, end - value + 1);
        }
    return {};
}

TEST(ReplaySpd, DecodedPartNumbersMatchDecodeDimms) {
    const auto realData = test::realDataFolder();
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(realData / "spd" / "bin" / "ddr3")) {
        SCOPED_TRACE(entry.path().filename().string());
        const auto partNumber = expectedPartNumber(realData / "spd" / "expected" /
                                                   (entry.path().stem().string() + ".decode-dimms.txt"));
        const auto parsed = parseSpdImage(readBytes(entry.path()));
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        std::string text(parsed.value().begin() + 128, parsed.value().begin() + 146);
        text.erase(text.find_last_not_of(std::string(" \0", 2)) + 1);
        if (partNumber.empty())
            continue; // decode-dimms refused the image for its checksum
        EXPECT_EQ(text, partNumber);
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

// A 256-byte DDR3-like image with a run of equal rows, which hexdump -C folds into "*".
std::vector<std::uint8_t> sampleImage() {
    std::vector<std::uint8_t> image(256, 0x00);
    for (std::size_t i = 0; i < 0x40; ++i)
        image[i] = static_cast<std::uint8_t>(0x92 + i * 7);
    for (std::size_t i = 0x80; i < 0x92; ++i)
        image[i] = static_cast<std::uint8_t>('A' + i % 26);
    return image;
}

// What i2cdump prints for an EEPROM: the column header, then 16 rows with the character column,
// "XX" where a byte could not be read.
std::string i2cdumpText(const std::vector<std::uint8_t>& image, std::size_t unreadable) {
    std::string text = "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f    0123456789abcdef\n";
    char cell[24];
    for (std::size_t row = 0; row < image.size(); row += 16) {
        std::snprintf(cell, sizeof cell, "%02zx: ", row);
        text += cell;
        for (std::size_t i = row; i < row + 16; ++i) {
            if (i == unreadable)
                text += "XX ";
            else {
                std::snprintf(cell, sizeof cell, "%02x ", image[i]);
                text += cell;
            }
        }
        text += "   ";
        for (std::size_t i = row; i < row + 16; ++i)
            text += (image[i] >= 0x20 && image[i] < 0x7F) ? static_cast<char>(image[i]) : '.';
        text += "\n";
    }
    return text;
}

TEST(ReplaySpd, ReadsI2cdumpWithUnreadableBytesAsAbsent) {
    auto image = sampleImage();
    image[0x90] = ' '; // blanks in the character column must not end the row early
    const auto parsed = parseText(i2cdumpText(image, 0x30));
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    image[0x30] = 0xFF;
    EXPECT_EQ(parsed.value(), image);
}

TEST(ReplaySpd, ReadsWhatHexdumpXxdAndOdPrint) {
    test::TempFolder folder;
    const auto image = sampleImage();
    const auto file = folder / "module.bin";
    test::writeFile(file, std::string(image.begin(), image.end()));
    int tools = 0;
    for (const std::string tool : {"hexdump -C", "xxd", "xxd -g1", "od -Ax -tx1"}) {
        const std::string program = tool.substr(0, tool.find(' '));
        if (solvane::test::shellOutput("command -v " + program).empty())
            continue;
        SCOPED_TRACE(tool);
        const std::string text = solvane::test::shellOutput(tool + " " + file.string());
        const auto parsed = parseText(text);
        ASSERT_TRUE(parsed.ok()) << parsed.error() << "\n" << text;
        EXPECT_EQ(parsed.value(), image);
        ++tools;
    }
    if (tools == 0)
        GTEST_SKIP() << "none of hexdump, xxd and od is installed";
}

TEST(ReplaySpd, ReadsBareBytesWithCommentsAndOffsets) {
    const auto image = sampleImage();
    std::string bare = "# a module\n";
    std::string offsets = "#\n# Year/Week: 0x12/0x19\n#\n";
    char cell[24];
    for (std::size_t row = 0; row < image.size(); row += 16) {
        std::snprintf(cell, sizeof cell, "%04zX:", row);
        offsets += cell;
        for (std::size_t i = row; i < row + 16; ++i) {
            std::snprintf(cell, sizeof cell, " %02X", image[i]);
            bare += cell + 1 + std::string(i % 8 == 7 ? "\n" : " ");
            offsets += cell;
        }
        offsets += "\r\n";
    }
    for (const auto& text : {bare, offsets}) {
        const auto parsed = parseText(text);
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value(), image);
    }
}

struct MalformedSpd {
    const char* what;
    std::string text;
    const char* message;
};

std::string rows(std::size_t count, const std::string& prefix = "") {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += prefix + "00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff\n";
    return text;
}

TEST(ReplaySpd, RefusesMalformedHexTextNamingTheLine) {
    const MalformedSpd cases[] = {
        {"bad byte", rows(2) + "00 11 zz\n", "line 3: 'zz' is not a hexadecimal byte"},
        {"odd digit", rows(1) + "0 11\n", "line 2: '0' is not a hexadecimal byte"},
        {"prose", "No size specified (using byte-data access)\n" + rows(8),
         "line 1: 'No' is not a hexadecimal"},
        {"plain hexdump", "0000000 1192 030b 0419 0202 0311 0108 0a00 fe00\n",
         "line 1: 16-bit words as plain hexdump prints them are byte-swapped"},
        {"gap", "00: " + rows(1).substr(0) + "20: 00\n",
         "line 2: offset 0x20 does not follow the bytes before it (expected 0x10)"},
        {"overlap", rows(2, "00000000  "), "line 2: offset 0x00 does not follow"},
        {"star first", "*\n" + rows(8), "line 1: '*' without a row before it"},
        {"star at the end", "00000000  " + rows(1) + "*\n", "ends after a '*' line"},
        {"star without offset", "00000000  " + rows(1) + "*\n" + rows(1),
         "line 3: a '*' line must be followed by an offset"},
        {"star uneven", "00000000  " + rows(1) + "*\n00000018\n",
         "line 3: offset 0x18 does not end a run of repeated rows"},
        {"bad offset", "00z0: 00\n", "line 1: '00z0:' is not a hexadecimal offset"},
        {"too short", rows(4), "an SPD image holds at least 128 bytes; this one has 64"},
        {"too long", rows(65), "more than 1024 bytes"},
        {"empty", "", "an SPD image holds at least 128 bytes; this one has 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = parseText(c.text);
        ASSERT_FALSE(parsed.ok());
        EXPECT_NE(parsed.error().find(c.message), std::string::npos) << parsed.error();
    }
}

TEST(ReplaySpd, BinaryImagesMustHaveAnEepromSize) {
    EXPECT_TRUE(parseSpdImage(std::vector<std::uint8_t>(128, 0x92)).ok());
    EXPECT_TRUE(parseSpdImage(std::vector<std::uint8_t>(1024, 0x92)).ok());
    EXPECT_EQ(parseSpdImage(std::vector<std::uint8_t>(127, 0x92)).error(),
              "an SPD image holds at least 128 bytes; this one has 127");
    EXPECT_EQ(parseSpdImage(std::vector<std::uint8_t>(1025, 0x92)).error(),
              "an SPD image holds at most 1024 bytes; this one has 1025");
}

TEST(ReplaySpd, SlotsByNameOrSmbusAddress) {
    EXPECT_EQ(parseSpdSlot("DIMM_A0").value(), 0xA0);
    EXPECT_EQ(parseSpdSlot("dimm_c1").value(), 0xAA);
    EXPECT_EQ(parseSpdSlot("0xA4").value(), 0xA4);
    EXPECT_EQ(parseSpdSlot("0xa5").value(), 0xA4);
    EXPECT_EQ(parseSpdSlot("0xAE").value(), 0xAE);
    EXPECT_EQ(parseSpdSlot("0x51").value(), 0xA2);
    for (const auto* wrong : {"DIMM_D0", "0xB0", "0x58", "0x", "A0", "", "0x1A0"}) {
        SCOPED_TRACE(wrong);
        const auto slot = parseSpdSlot(wrong);
        ASSERT_FALSE(slot.ok());
        EXPECT_NE(slot.error().find("unknown SPD slot"), std::string::npos);
    }
}

} // namespace
} // namespace solvane::hw
