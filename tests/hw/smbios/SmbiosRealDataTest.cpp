#include "hw/smbios/SmbiosDump.h"
#include "hw/smbios/SmbiosTableReader.h"
#include "support/DmidecodeOutput.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace solvane::hw {
namespace {

// Checks the decoder against what dmidecode printed for the same bytes (stored beside the dumps).

using test::PrintedStructure;

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A string field as dmidecode prints it.
std::string printedString(const SmbiosStructure& structure, std::size_t offset) {
    const auto index = structure.byteAt(offset);
    if (!index || *index == 0)
        return "Not Specified";
    const auto text = structure.string(*index);
    if (!text)
        return "<BAD INDEX>";
    std::string shown(*text);
    for (auto& c : shown)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = '.';
    return shown;
}

std::string printedId(const SmbiosStructure& structure) {
    std::string text;
    for (std::size_t i = 0; i < 8; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X", *structure.byteAt(8 + i));
        text += (i == 0 ? "" : " ") + std::string(byte);
    }
    return text;
}

std::string printedClock(const SmbiosStructure& structure) {
    const auto clock = *structure.wordAt(0x12);
    return clock == 0 ? "Unknown" : std::to_string(clock) + " MHz";
}

struct StringField {
    unsigned type;
    const char* key;
    std::size_t offset;
};

// The BIOS, system, baseboard and processor strings the program shows.
constexpr StringField kStringFields[] = {
    {0, "Vendor", 0x04},        {0, "Version", 0x05},       {0, "Release Date", 0x08},
    {1, "Manufacturer", 0x04},  {1, "Product Name", 0x05},  {1, "Version", 0x06},
    {1, "Serial Number", 0x07}, {2, "Manufacturer", 0x04},  {2, "Product Name", 0x05},
    {2, "Version", 0x06},       {2, "Serial Number", 0x07}, {4, "Socket Designation", 0x04},
    {4, "Version", 0x10},
};

// Compares the structures the reader yields with the printed blocks, one by one to the end.
void compareWithPrinted(SmbiosTableReader& reader, std::span<const PrintedStructure> printed,
                        const std::string& name) {
    ASSERT_FALSE(printed.empty()) << name;
    std::size_t compared = 0;
    for (const auto& expected : printed) {
        const auto structure = reader.next();
        ASSERT_TRUE(structure) << name << ": dmidecode printed handle " << expected.handle << " after "
                               << compared << " structures";
        ASSERT_EQ(structure->handle(), expected.handle) << name;
        ASSERT_EQ(structure->type(), expected.type) << name;
        ASSERT_EQ(structure->length(), expected.length) << name;
        for (const auto& field : kStringFields) {
            if (field.type == expected.type && expected.fields.contains(field.key)) {
                EXPECT_EQ(printedString(*structure, field.offset), expected.fields.at(field.key))
                    << name << " handle " << expected.handle << " " << field.key;
            }
        }
        if (expected.type == 4 && expected.fields.contains("ID")) {
            EXPECT_EQ(printedId(*structure), expected.fields.at("ID")) << name;
        }
        if (expected.type == 4 && expected.fields.contains("External Clock")) {
            EXPECT_EQ(printedClock(*structure), expected.fields.at("External Clock")) << name;
        }
        ++compared;
    }
    // dmidecode printed every structure the decoder found, and stopped where the decoder stops.
    EXPECT_FALSE(reader.next()) << name << ": the decoder found more structures than dmidecode printed";
}

void compareWithDmidecode(std::span<const std::uint8_t> table, const std::filesystem::path& expectedPath,
                          const std::string& name) {
    const auto printed = test::readDmidecodeOutput(expectedPath);
    SmbiosTableReader reader(table);
    compareWithPrinted(reader, printed, name);
}

std::filesystem::path smbiosFolder() {
    return test::realDataFolder() / "smbios";
}

TEST(SmbiosRealData, DumpFilesDecodeAsDmidecodePrintsThem) {
    const auto folder = smbiosFolder();
    int files = 0;
    for (const auto* sub : {"dumpbin", "derived-dumpbin"}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder / sub)) {
            const auto bytes = readBytes(entry.path());
            const auto dump = readSmbiosDump(bytes);
            ASSERT_TRUE(dump) << entry.path();
            EXPECT_NE(dump->kind, SmbiosDumpKind::BareTable) << entry.path();
            compareWithDmidecode(dump->table,
                                 folder / "expected" / (entry.path().stem().string() + ".dmidecode.txt"),
                                 entry.path().filename().string());
            ++files;
        }
    }
    EXPECT_GE(files, 13);
}

// The bare tables of /sys/firmware/dmi/tables/DMI give the same structures as their wrapped form,
// including the table that dmidecode calls broken at a zero-length structure.
TEST(SmbiosRealData, BareTablesDecodeAsTheirWrappedForm) {
    const auto folder = smbiosFolder();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "rawtable")) {
        const auto bytes = readBytes(entry.path());
        const auto dump = readSmbiosDump(bytes);
        ASSERT_TRUE(dump);
        const auto name = entry.path().filename().string();
        const auto printed = test::readDmidecodeOutput(
            folder / "expected" / (entry.path().stem().string() + ".sm3wrapped.dmidecode.txt"));
        ASSERT_FALSE(printed.empty()) << name;
        SmbiosTableReader reader(dump->table);
        if (dump->kind == SmbiosDumpKind::BareTable) {
            compareWithPrinted(reader, printed, name);
        } else {
            // Saved with its entry point already, so the wrapped copy holds two: dmidecode read the
            // inner "_SM3_" (type 0x5F, length 'S') and the BIOS structure after it as one bogus
            // structure. The decoder finds the entry point and reads the BIOS structure itself.
            EXPECT_EQ(printed.front().type, 0x5FU) << name;
            const auto bios = reader.next();
            ASSERT_TRUE(bios) << name;
            EXPECT_EQ(bios->type(), 0) << name;
            compareWithPrinted(reader, std::span(printed).subspan(1), name);
        }
        ++files;
    }
    EXPECT_GE(files, 6);

    const auto hyperV = readBytes(folder / "rawtable" / "go-smbios__HyperV.dmi");
    SmbiosTableReader reader(hyperV);
    int structures = 0;
    while (reader.next())
        ++structures;
    EXPECT_EQ(structures, 5);
    EXPECT_EQ(reader.end(), SmbiosTableEnd::BadLength);
}

} // namespace
} // namespace solvane::hw
