// The processor fields of the motherboard information page on real firmware tables, checked against
// what dmidecode printed for the same bytes.
#include "hw/smbios/SmbiosDump.h"
#include "power/IdentifyPlatform.h"
#include "support/DmidecodeOutput.h"
#include "support/TempFolder.h"
#include "sysinfo/MotherboardInfo.h"
#include "sysinfo/ProcessorFields.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>

namespace solvane::sysinfo {
namespace {

struct RealDump {
    std::filesystem::path table;   // the dump file
    std::filesystem::path printed; // dmidecode's output for it
};

std::filesystem::path smbiosFolder() {
    return test::realDataFolder() / "smbios";
}

// Every dump once: the dumpbin files, and the bare tables (whose wrapped copies dmidecode read).
std::vector<RealDump> realDumps() {
    std::vector<RealDump> dumps;
    const auto folder = smbiosFolder();
    for (const auto& entry : std::filesystem::directory_iterator(folder / "dumpbin"))
        dumps.push_back(
            {entry.path(), folder / "expected" / (entry.path().stem().string() + ".dmidecode.txt")});
    for (const auto& entry : std::filesystem::directory_iterator(folder / "rawtable"))
        dumps.push_back({entry.path(),
                         folder / "expected" / (entry.path().stem().string() + ".sm3wrapped.dmidecode.txt")});
    std::sort(dumps.begin(), dumps.end(), [](const auto& a, const auto& b) { return a.table < b.table; });
    return dumps;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The processor the identification keeps: the first record, replaced by each later one whose socket
// is populated.
std::optional<std::size_t> keptProcessor(const std::vector<test::PrintedStructure>& printed) {
    std::optional<std::size_t> kept;
    for (std::size_t index = 0; index < printed.size(); ++index)
        if (printed[index].type == 4 && (!kept || !printed[index].field("Status").starts_with("Unpopulated")))
            kept = index;
    return kept;
}

char hexDigit(unsigned value) {
    return "0123456789ABCDEF"[value & 0xF];
}

// dmidecode's "ID: C3 06 03 00 …" starts with the signature, low byte first: the stepping is the low
// digit of the first byte, the model its high digit, the family the low digit of the second byte.
// dmidecode's own "Signature" line adds the extended family and model; the page shows the base digits
// only (family 25 of a Ryzen is "F", model 60 of a Haswell is "C").
std::string signatureDigits(const std::string& printedId) {
    const unsigned first = static_cast<unsigned>(std::stoul(printedId.substr(0, 2), nullptr, 16));
    const unsigned second = static_cast<unsigned>(std::stoul(printedId.substr(3, 2), nullptr, 16));
    return {hexDigit(second), hexDigit(first >> 4), hexDigit(first)};
}

// The processor name rule, written with a regular expression.
std::string cleanedByRule(std::string name) {
    name = std::regex_replace(name, std::regex("@ 0000 "), "");
    return std::regex_replace(name, std::regex("    "), "");
}

class MotherboardRealDump : public ::testing::TestWithParam<RealDump> {};

TEST_P(MotherboardRealDump, ProcessorFieldsFollowTheRules) {
    const auto& dump = GetParam();
    const auto bytes = readBytes(dump.table);
    const auto parsed = hw::readSmbiosDump(bytes);
    ASSERT_TRUE(parsed) << dump.table;
    const auto printed = test::readDmidecodeOutput(dump.printed);
    ASSERT_FALSE(printed.empty()) << dump.printed;

    power::PlatformInfo platform;
    power::identifyFromSmbiosTable(parsed->table, platform);
    const auto processor = keptProcessor(printed);
    if (!processor) {
        // No processor record at all (the table ends early): the fields stay empty and untouched.
        EXPECT_EQ(platform.processorVersion, "");
        EXPECT_FALSE(processorSignature(platform.processorId));
        return;
    }
    const auto& expected = printed[*processor];

    const auto version = expected.field("Version");
    EXPECT_EQ(cleanProcessorName(platform.processorVersion),
              cleanedByRule(version == "Not Specified" ? "" : version));
    const auto signature = processorSignature(platform.processorId);
    ASSERT_TRUE(signature);
    EXPECT_EQ(std::string({signature->family, signature->model, signature->stepping}),
              signatureDigits(expected.field("ID")));
    const auto clock = expected.field("External Clock");
    EXPECT_EQ(platform.externalClock, clock == "Unknown" ? "0 MHz" : clock);
}

INSTANTIATE_TEST_SUITE_P(EachDump, MotherboardRealDump, ::testing::ValuesIn(realDumps()),
                         [](const auto& test) {
                             std::string name = test.param.table.stem().string();
                             for (auto& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MotherboardRealDump);

// The two families of the tables, checked where dmidecode's reading and the page's differ.
TEST(MotherboardRealDumpDigits, BaseDigitsNotDmidecodesExtendedValues) {
    EXPECT_EQ(signatureDigits("10 0F A2 00 FF FB 8B 17"),
              "F10"); // dmidecode: family 25, model 33, stepping 0
    EXPECT_EQ(signatureDigits("C3 06 03 00 FF FB EB BF"), "6C3"); // dmidecode: family 6, model 60, stepping 3
    EXPECT_EQ(cleanedByRule("AMD Opteron(tm) Processor 6174      "), "AMD Opteron(tm) Processor 6174  ");
}

} // namespace
} // namespace solvane::sysinfo
