#include "sysinfo/MemoryModuleDecoder.h"

#include "sysinfo/SpdBytes.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

using test::ddr3Module;
using test::spdImage;

ModuleFieldTexts decodeDdr3(const std::vector<std::uint8_t>& spd) {
    const auto texts = decodeMemoryModule(spd);
    EXPECT_EQ(texts.memoryType, "DDR3");
    EXPECT_TRUE(texts.ddr3.has_value());
    return texts.ddr3.value_or(ModuleFieldTexts{});
}

TEST(MemoryModuleDecoderTest, ADdr3ModuleShowsEveryField) {
    const auto ddr3 = decodeDdr3(ddr3Module());
    EXPECT_EQ(ddr3.moduleSize, "1024 MBytes (1 Gb)");
    EXPECT_EQ(ddr3.manufacturer, "Kingston");
    EXPECT_EQ(ddr3.partNumber, "KVR1333D3N92G"); // the slash is not a part-number character
    EXPECT_EQ(ddr3.serialNumber, "44332211");    // bytes 125, 124, 123, 122
    EXPECT_EQ(ddr3.weekYear, "23 / 09");
    EXPECT_TRUE(ddr3.timings[3].has_value());
}

TEST(MemoryModuleDecoderTest, OtherTypesShowOnlyTheirTypeText) {
    const std::vector<std::pair<std::uint8_t, const char*>> types{
        {0x04, "SDRAM"}, {0x05, "ROM"}, {0x06, "DDR SGRAM"}, {0x07, "DDR"},
        {0x08, "DDR2"},  {0x00, ""},    {0x0A, ""}, // 0x0C and 0x12 are DDR4 and DDR5, decoded in full
    };
    for (const auto& [code, text] : types) {
        auto spd = ddr3Module();
        spd[2] = code;
        const auto decoded = decodeMemoryModule(spd);
        EXPECT_EQ(decoded.memoryType, text) << int{code};
        EXPECT_FALSE(decoded.ddr3.has_value()) << int{code};
    }
}

TEST(MemoryModuleDecoderTest, TheSizeTableFollowsTheRankFieldAndTheWholeDensityByte) {
    struct Case {
        std::uint8_t density;
        std::uint8_t organisation;
        const char* size;
    };
    const std::vector<Case> cases{
        {0x01, 0x01, "512 MBytes"},
        {0x04, 0x02, "4096 MBytes (4 Gb)"},
        {0x01, 0x09, "1024 MBytes (1 Gb)"},
        {0x03, 0x09, "4096 MBytes (4 Gb)"},
        {0x04, 0x0A, "8192 MBytes (8 Gb)"}, // two ranks: rank field 1
        {0x03, 0x11, "2048 MBytes (2 Gb)"}, // three ranks use the single-rank table
        {0x03, 0x19, "2048 MBytes (2 Gb)"}, // four ranks too
        {0x02, 0x49, "2048 MBytes (2 Gb)"}, // bits outside 5..3 do not count
        {0x13, 0x01, ""},                   // a bank field other than 0 matches no row
        {0x05, 0x01, ""},
        {0x00, 0x09, ""},
    };
    for (const auto& c : cases) {
        auto spd = ddr3Module();
        spd[4] = c.density;
        spd[7] = c.organisation;
        EXPECT_EQ(decodeDdr3(spd).moduleSize, c.size) << int{c.density} << " " << int{c.organisation};
    }
}

TEST(MemoryModuleDecoderTest, ThePartNumberKeepsCapitalsDigitsAndHyphens) {
    auto spd = ddr3Module();
    constexpr std::string_view kAbc = "ABC-123           ";
    std::copy(kAbc.begin(), kAbc.end(), spd.begin() + 128);
    EXPECT_EQ(decodeDdr3(spd).partNumber, "ABC-123");

    constexpr std::string_view kMixed = "m378B.5673fh0-CH9_";
    std::copy(kMixed.begin(), kMixed.end(), spd.begin() + 128);
    EXPECT_EQ(decodeDdr3(spd).partNumber, "378B56730-CH9");

    std::fill(spd.begin() + 128, spd.begin() + 146, std::uint8_t{0x00});
    spd[145] = 'Z';
    spd[146] = 'Q'; // past the part number
    spd[127] = 'Q';
    EXPECT_EQ(decodeDdr3(spd).partNumber, "Z");

    std::fill(spd.begin() + 128, spd.begin() + 146, std::uint8_t{0xFF});
    EXPECT_EQ(decodeDdr3(spd).partNumber, "");
}

TEST(MemoryModuleDecoderTest, TheManufacturerBankIsTheLowNibbleOfByte117PlusOne) {
    struct Case {
        std::uint8_t continuation;
        std::uint8_t code;
        const char* name;
    };
    const std::vector<Case> cases{
        {0x00, 0xCE, "Samsung"},
        {0x80, 0xCE, "Samsung"}, // parity bit of the count is ignored
        {0x01, 0x98, "Kingston"},
        {0x02, 0xFE, "Elpida"},
        {0x04, 0xCD, "G Skill Intl"},
        {0x05, 0x02, "Patriot Memory"},           // the first row of bank 6
        {0x05, 0x01, ""},                         // bank 6 has no 0x01
        {0x06, 0x8A, "Bright Micron Technology"}, // bank 7
        {0x10, 0x01, "AMD"},                      // a count of 16 has low bits 0: bank 1
        {0x0A, 0x01, ""},                         // bank 11 has no table
        {0x07, 0x01, ""},                         // nor has bank 8
        {0x00, 0x4E, ""},                         // Samsung's number without its parity bit
    };
    for (const auto& c : cases) {
        auto spd = ddr3Module();
        spd[117] = c.continuation;
        spd[118] = c.code;
        EXPECT_EQ(decodeDdr3(spd).manufacturer, c.name) << int{c.continuation} << " " << int{c.code};
    }
}

TEST(MemoryModuleDecoderTest, SerialAndDateArePrintedInHexadecimal) {
    auto spd = ddr3Module();
    spd[122] = 0x0A;
    spd[123] = 0xB0;
    spd[124] = 0x00;
    spd[125] = 0xFF;
    spd[120] = 0x10; // 2010, binary-coded decimal
    spd[121] = 0x52; // week 52
    const auto ddr3 = decodeDdr3(spd);
    EXPECT_EQ(ddr3.serialNumber, "FF00B00A");
    EXPECT_EQ(ddr3.weekYear, "52 / 10");
}

TEST(MemoryModuleDecoderTest, AShortImageReadsAsUnprogrammedBeyondItsEnd) {
    auto spd = ddr3Module();
    spd.resize(128);
    const auto ddr3 = decodeDdr3(spd);
    EXPECT_EQ(ddr3.partNumber, "");
    EXPECT_EQ(ddr3.moduleSize, "1024 MBytes (1 Gb)");
    EXPECT_TRUE(decodeMemoryModule({}).memoryType.empty());
    EXPECT_EQ(decodeMemoryModule(spdImage({{2, 0x08}})).memoryType, "DDR2");
}

} // namespace
} // namespace solvane::sysinfo
