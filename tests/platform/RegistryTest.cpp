#include "platform/FileRegistry.h"
#include "platform/RegEditFormat.h"
#include "platform/RegistrySeed.h"
#include "platform/TreeRegistry.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace solvane::platform {
namespace {

using test::TempFolder;

constexpr std::string_view kKey = "Software\\Tarvok\\SolvaneCenter";

TEST(TreeRegistry, NamesCompareWithoutCaseAndKeepTheirSpelling) {
    TreeRegistry registry;
    ASSERT_TRUE(registry.writeString(kKey, "EnableSolvane", "2"));
    EXPECT_EQ(registry.readString("SOFTWARE\\tarvok\\solvanecenter", "enablesolvane"), "2");
    ASSERT_TRUE(registry.writeString("software\\TARVOK\\SolvaneCenter\\Max", "DefaultSetting", "x;"));
    EXPECT_EQ(registry.subKeys(kKey), std::vector<std::string>{"Max"});
    // Writing through another spelling changes the same value.
    ASSERT_TRUE(registry.writeString(kKey, "ENABLESOLVANE", "0"));
    EXPECT_EQ(registry.readString(kKey, "EnableSolvane"), "0");
}

TEST(TreeRegistry, StringsReadThroughABufferOf5001Bytes) {
    TreeRegistry registry;
    registry.writeString(kKey, "Fits", std::string(5000, 'a'));
    registry.writeString(kKey, "TooLong", std::string(5001, 'a'));
    EXPECT_EQ(registry.readString(kKey, "Fits")->size(), 5000U);
    EXPECT_FALSE(registry.readString(kKey, "TooLong"));
    // A smaller buffer, as for the build label, refuses earlier.
    EXPECT_FALSE(registry.readString(kKey, "Fits", 500));
}

TEST(TreeRegistry, MissingOrMistypedValuesReadAsAbsent) {
    TreeRegistry registry;
    registry.writeDword(kKey, "degree", 10);
    registry.writeString(kKey, "Text", "10");
    EXPECT_FALSE(registry.readString(kKey, "degree"));
    EXPECT_FALSE(registry.readDword(kKey, "Text"));
    EXPECT_FALSE(registry.readDword(kKey, "Nothing"));
    EXPECT_FALSE(registry.readString("Software\\Nowhere", "Text"));
    EXPECT_EQ(registry.readDword(kKey, "DEGREE"), 10U);
}

TEST(TreeRegistry, SeveralDwordsAreOneChange) {
    // Counts how often the registry would save itself.
    class CountingRegistry final : public TreeRegistry {
    public:
        int commits = 0;

    protected:
        bool commit() override {
            ++commits;
            return true;
        }
    } registry;
    ASSERT_TRUE(registry.writeDwords("Software\\Tarvok\\SolvaneCenter2\\Batch",
                                     {{"degree", 3}, {"totalPowerSaving", 7}}));
    EXPECT_EQ(registry.commits, 1);
    EXPECT_EQ(registry.readDword("Software\\Tarvok\\SolvaneCenter2\\Batch", "totalPowerSaving"), 7U);
}

TEST(TreeRegistry, DeletingAKeyTakesItsSubKeysAlong) {
    TreeRegistry registry;
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\Max\\Quiet", "SavedSettings", "1;");
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\Optimize", "DefaultSetting", "1;");
    ASSERT_TRUE(registry.deleteKey("Software\\Tarvok\\SolvaneCenter\\Max"));
    EXPECT_FALSE(registry.keyExists("Software\\Tarvok\\SolvaneCenter\\Max\\Quiet"));
    EXPECT_TRUE(registry.keyExists("Software\\Tarvok\\SolvaneCenter\\Optimize"));
    EXPECT_FALSE(registry.deleteKey("Software\\Tarvok\\SolvaneCenter\\Max"));
    EXPECT_FALSE(registry.deleteValue(kKey, "Nothing"));
}

TEST(TreeRegistry, ReadOnlyRegistryRefusesEveryChange) {
    TreeRegistry registry;
    registry.writeString(kKey, "Kept", "1");
    registry.setReadOnly(true);
    EXPECT_FALSE(registry.writeString(kKey, "Kept", "2"));
    EXPECT_FALSE(registry.writeDword(kKey, "New", 1));
    EXPECT_FALSE(registry.deleteKey(kKey));
    EXPECT_EQ(registry.readString(kKey, "Kept"), "1");
}

TEST(RegEditFormat, EveryByteStringSurvivesTheRoundTrip) {
    RegistryTree tree;
    auto& key = tree.findOrCreate("Software\\Tarvok\\SolvaneCenter\\LED");
    key.values["Quotes"] = std::string("say \"hi\" \\ back\\");
    key.values["Control"] = std::string("line one\r\nline two\ttab\x01", 23);
    key.values["Empty"] = std::string();
    key.values["Profile;name"] = std::string("0;1;2;");
    key.values["degree"] = std::uint32_t{0xFFFFFFFF};
    tree.findOrCreate("Software\\Tarvok\\Empty Key");

    const auto text = formatRegEdit(tree);
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n\n"));
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Tarvok\\SolvaneCenter\\LED]\n"), std::string::npos);
    EXPECT_NE(text.find("\"degree\"=dword:ffffffff\n"), std::string::npos);

    RegistryTree reread;
    const auto parsed = parseRegEdit(text, reread);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(formatRegEdit(reread), text);
    const auto* led = reread.find("software\\tarvok\\solvanecenter\\led");
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(std::get<std::string>(led->values.at("Control")),
              std::string("line one\r\nline two\ttab\x01", 23));
    EXPECT_EQ(std::get<std::string>(led->values.at("Quotes")), "say \"hi\" \\ back\\");
    EXPECT_NE(reread.find("Software\\Tarvok\\Empty Key"), nullptr);
}

TEST(RegEditFormat, ReadsWindowsExportsWithCrLfAndContinuedHexLines) {
    const std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                             "; exported by hand\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
                             "\"CurrentVersion\"=\"5.2\"\r\n"
                             "\"Label\"=hex(1):41,00,\\\r\n  42,00,00,00\r\n";
    RegistryTree tree;
    const auto parsed = parseRegEdit(text, tree);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const auto* key = tree.find("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::get<std::string>(key->values.at("CurrentVersion")), "5.2");
    EXPECT_EQ(std::get<std::string>(key->values.at("Label")), "AB");
}

TEST(RegEditFormat, RefusesMalformedTextWithTheLineAtFault) {
    struct Case {
        std::string text;
        int line;
    };
    const std::string header = "Windows Registry Editor Version 5.00\n";
    const std::vector<Case> cases{
        {"", 0},
        {"REGEDIT4\n", 1},
        {header + "\"orphan\"=\"1\"\n", 2},
        {header + "[HKEY_LOCAL_MACHINE\\A\n", 2},
        {header + "[HKEY_CURRENT_USER\\A]\n", 2},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"open\"=\"never closed\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=dword:123456789\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=dword:12zz\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=hex(1):4\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=hex(7):00,00\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\ngarbage\n", 3},
    };
    for (const auto& [text, line] : cases) {
        RegistryTree tree;
        const auto parsed = parseRegEdit(text, tree);
        EXPECT_FALSE(parsed.ok) << text;
        if (line > 0) {
            EXPECT_EQ(parsed.errorLine, line) << text;
        }
        EXPECT_FALSE(parsed.error.empty());
    }
}

TEST(FileRegistry, ChangesSurviveAReopen) {
    TempFolder folder;
    const auto file = folder / "registry.reg";
    {
        auto opened = FileRegistry::open(file);
        ASSERT_TRUE(opened.notice.empty());
        opened.registry->writeString(kKey, "EnableSolvane", "1");
        opened.registry->writeDword("Software\\Tarvok\\SolvaneCenter2\\Batch", "degree", 42);
    }
    auto reopened = FileRegistry::open(file);
    EXPECT_TRUE(reopened.notice.empty());
    EXPECT_EQ(reopened.registry->readString(kKey, "EnableSolvane"), "1");
    EXPECT_EQ(reopened.registry->readDword("Software\\Tarvok\\SolvaneCenter2\\Batch", "degree"), 42U);
    EXPECT_FALSE(std::filesystem::exists(folder / "registry.reg.tmp"));
}

TEST(FileRegistry, CorruptFileIsKeptAsideAndTheUserIsTold) {
    TempFolder folder;
    const auto file = folder / "registry.reg";
    const std::string damaged =
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"unclosed\n";
    test::writeFile(file, damaged);

    auto opened = FileRegistry::open(file);
    EXPECT_NE(opened.notice.find("damaged"), std::string::npos);
    EXPECT_NE(opened.notice.find("line 3"), std::string::npos);
    std::vector<std::filesystem::path> aside;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.path().filename().string().starts_with("registry.reg.corrupt-"))
            aside.push_back(entry.path());
    ASSERT_EQ(aside.size(), 1U);
    std::ifstream in(aside.front(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);

    // The fresh registry works and never touched the damaged bytes.
    EXPECT_TRUE(opened.registry->writeString(kKey, "EnableSolvane", "0"));
    EXPECT_TRUE(FileRegistry::open(file).notice.empty());
}

TEST(FileRegistry, AChangeThatCannotBeSavedIsReportedAsFailed) {
    TempFolder folder;
    auto opened = FileRegistry::open(folder / "missing-folder" / "registry.reg");
    EXPECT_FALSE(opened.registry->writeString(kKey, "EnableSolvane", "1"));
    EXPECT_FALSE(opened.registry->lastError().empty());
}

// Kills a process that rewrites the registry in a tight loop at random moments: every time the
// file must parse and hold a consistent pair of values, never a torn one.
TEST(FileRegistry, SurvivesKillNineAtAnyMomentOfAWriteLoop) {
    const auto writer = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "registry_writer";
    if (!std::filesystem::exists(writer))
        GTEST_SKIP() << "registry_writer is not built next to the tests";
    TempFolder folder;
    const auto file = folder / "registry.reg";
    std::mt19937 random(12345);
    std::uint32_t lastCounter = 0;
    for (int round = 0; round < 40; ++round) {
        test::ChildProcess child(writer, {file.string()});
        ASSERT_TRUE(child.waitForOutput("ready")) << child.errors();
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution(0, 30000)(random)));
        child.signal(SIGKILL);
        ASSERT_EQ(child.wait(), 128 + SIGKILL) << child.errors();

        auto opened = FileRegistry::open(file);
        ASSERT_TRUE(opened.notice.empty()) << "round " << round << ": " << opened.notice;
        constexpr std::string_view kBatch = "Software\\Tarvok\\SolvaneCenter2\\Batch";
        const auto text = opened.registry->readString(kBatch, "Text");
        const auto counter = opened.registry->readDword(kBatch, "Counter");
        if (!text) {
            EXPECT_EQ(lastCounter, 0U) << "values vanished after round " << round;
            continue;
        }
        ASSERT_TRUE(counter.has_value() || *text == "1");
        const auto value = static_cast<std::uint32_t>(std::stoul(*text));
        const auto saved = counter.value_or(0);
        EXPECT_TRUE(saved == value || saved + 1 == value) << "Text " << value << ", Counter " << saved;
        EXPECT_GE(saved, lastCounter) << "the counter went back";
        lastCounter = saved;
    }
}

TEST(RegistrySeed, FillsTheWindowsValuesOnceFromTheHost) {
    TreeRegistry registry;
    FakeSystemFacts facts;
    facts.architecture = ProcessorArchitecture::Amd64;
    facts.processors = 4;
    seedWindowsValues(registry, facts);
    EXPECT_NE(registry.readString(kWindowsVersionKey, "BuildLabEx", 500)->find("amd64"), std::string::npos);
    EXPECT_EQ(registry.readString(kWindowsVersionKey, "CurrentVersion"), "6.0");
    EXPECT_EQ(registry.readString(kEnvironmentKey, "NUMBER_OF_PROCESSORS"), "4");

    // A value set by hand stays as it is.
    registry.writeString(kWindowsVersionKey, "BuildLabEx", "3790.srv03_sp2_rtm.070216-1710");
    facts.architecture = ProcessorArchitecture::Intel;
    seedWindowsValues(registry, facts);
    EXPECT_EQ(registry.readString(kWindowsVersionKey, "BuildLabEx"), "3790.srv03_sp2_rtm.070216-1710");

    TreeRegistry x86;
    seedWindowsValues(x86, facts);
    EXPECT_EQ(x86.readString(kWindowsVersionKey, "BuildLabEx")->find("amd64"), std::string::npos);
}

} // namespace
} // namespace solvane::platform
