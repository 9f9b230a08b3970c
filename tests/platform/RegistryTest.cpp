#include "platform/FileRegistry.h"
#include "platform/MemoryRegistry.h"
#include "platform/RegEditFormat.h"
#include "platform/RegistrySeed.h"
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

TEST(MemoryRegistry, NamesCompareWithoutCaseAndKeepTheirSpelling) {
    MemoryRegistry registry;
    ASSERT_TRUE(registry.writeString(kKey, "EnableSolvane", "2"));
    EXPECT_EQ(registry.readString("SOFTWARE\\tarvok\\solvanecenter", "enablesolvane"), "2");
    ASSERT_TRUE(registry.writeString("software\\TARVOK\\SolvaneCenter\\Max", "DefaultSetting", "x;"));
    EXPECT_EQ(registry.subKeys(kKey), std::vector<std::string>{"Max"});
    // Writing through another spelling changes the same value.
    ASSERT_TRUE(registry.writeString(kKey, "ENABLESOLVANE", "0"));
    EXPECT_EQ(registry.readString(kKey, "EnableSolvane"), "0");
}

TEST(MemoryRegistry, StringsReadThroughABufferOf5001Bytes) {
    MemoryRegistry registry;
    registry.writeString(kKey, "Fits", std::string(5000, 'a'));
    registry.writeString(kKey, "TooLong", std::string(5001, 'a'));
    EXPECT_EQ(registry.readString(kKey, "Fits")->size(), 5000U);
    EXPECT_FALSE(registry.readString(kKey, "TooLong"));
    // A smaller buffer, as for the build label, refuses earlier.
    EXPECT_FALSE(registry.readString(kKey, "Fits", 500));
}

TEST(MemoryRegistry, MissingOrMistypedValuesReadAsAbsent) {
    MemoryRegistry registry;
    registry.writeDword(kKey, "degree", 10);
    registry.writeString(kKey, "Text", "10");
    EXPECT_FALSE(registry.readString(kKey, "degree"));
    EXPECT_FALSE(registry.readDword(kKey, "Text"));
    EXPECT_FALSE(registry.readDword(kKey, "Nothing"));
    EXPECT_FALSE(registry.readString("Software\\Nowhere", "Text"));
    EXPECT_EQ(registry.readDword(kKey, "DEGREE"), 10U);
}

TEST(MemoryRegistry, SeveralDwordsAreOneChange) {
    // Counts how often the registry would save itself.
    class CountingRegistry final : public MemoryRegistry {
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

TEST(MemoryRegistry, DeletingAKeyTakesItsSubKeysAlong) {
    MemoryRegistry registry;
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\Max\\Quiet", "SavedSettings", "1;");
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\Optimize", "DefaultSetting", "1;");
    ASSERT_TRUE(registry.deleteKey("Software\\Tarvok\\SolvaneCenter\\Max"));
    EXPECT_FALSE(registry.keyExists("Software\\Tarvok\\SolvaneCenter\\Max\\Quiet"));
    EXPECT_TRUE(registry.keyExists("Software\\Tarvok\\SolvaneCenter\\Optimize"));
    EXPECT_FALSE(registry.deleteKey("Software\\Tarvok\\SolvaneCenter\\Max"));
    EXPECT_FALSE(registry.deleteValue(kKey, "Nothing"));
}

TEST(MemoryRegistry, ReadOnlyRegistryRefusesEveryChange) {
    MemoryRegistry registry;
    registry.writeString(kKey, "Kept", "1");
    registry.setReadOnly(true);
    EXPECT_FALSE(registry.writeString(kKey, "Kept", "2"));
    EXPECT_FALSE(registry.writeDword(kKey, "New", 1));
    EXPECT_FALSE(registry.deleteKey(kKey));
    EXPECT_EQ(registry.readString(kKey, "Kept"), "1");
}

TEST(RegEditFormat, EveryByteStringSurvivesTheRoundTrip) {
    RegistryKeyTree tree;
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

    RegistryKeyTree reread;
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
    RegistryKeyTree tree;
    const auto parsed = parseRegEdit(text, tree);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const auto* key = tree.find("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::get<std::string>(key->values.at("CurrentVersion")), "5.2");
    EXPECT_EQ(std::get<std::string>(key->values.at("Label")), "AB");
}

// What the Windows registry editor writes: UTF-16LE with a byte-order mark, default values, every
// hex form, deletions. All of it is read, and saved again in the program's own text form with the
// values of other types as they came.
TEST(RegEditFormat, ReadsWhatTheWindowsEditorWrites) {
    const std::u16string exported = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                    u"[HKEY_LOCAL_MACHINE]\r\n\"AtTheTop\"=\"1\"\r\n\r\n"
                                    u"[HKEY_LOCAL_MACHINE\\Software\\Tarvok\\SolvaneCenter]\r\n"
                                    u"@=\"default\"\r\n"
                                    u"\"EnableSolvane\"=\"2\"\r\n"
                                    u"\"Blob\"=hex:01,02,ff\r\n"
                                    u"\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                    u"\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                                    u"\"Big\"=hex(b):01,00,00,00,00,00,00,80\r\n"
                                    u"\"Greek\"=hex(1):a9,03,e9,00,00,00\r\n"
                                    u"\"Gone\"=\"soon\"\r\n"
                                    u"\"Gone\"=-\r\n"
                                    u"\"Named \u00e9\"=\"caf\u00e9\"\r\n\r\n"
                                    u"[HKEY_LOCAL_MACHINE\\Software\\Old]\r\n\"x\"=\"1\"\r\n"
                                    u"[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : exported) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    RegistryKeyTree tree;
    const auto parsed = parseRegEdit(bytes, tree);
    ASSERT_TRUE(parsed.ok) << parsed.errorLine << ": " << parsed.error;
    MemoryRegistry registry(std::move(tree));
    EXPECT_EQ(registry.readString("", "AtTheTop"), "1");
    EXPECT_EQ(registry.readString(kKey, ""), "default");
    EXPECT_EQ(registry.readString(kKey, "EnableSolvane"), "2");
    EXPECT_EQ(registry.readString(kKey, "Greek"), "\u03a9\u00e9");
    EXPECT_EQ(registry.readString(kKey, "Named \u00e9"), "caf\u00e9");
    EXPECT_FALSE(registry.readString(kKey, "Gone"));
    EXPECT_FALSE(registry.keyExists("Software\\Old"));
    const auto* key = registry.tree().find(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::get<RawRegistryValue>(key->values.at("Blob")), (RawRegistryValue{3, "\x01\x02\xff"}));
    EXPECT_EQ(std::get<RawRegistryValue>(key->values.at("List")).type, 7U);
    EXPECT_EQ(std::get<RawRegistryValue>(key->values.at("Big")).bytes,
              std::string("\x01\0\0\0\0\0\0\x80", 8));

    // Saved as text in the program's form, and read back to the same tree.
    const auto saved = formatRegEdit(registry.tree());
    EXPECT_NE(saved.find("[HKEY_LOCAL_MACHINE]\n\"AtTheTop\"=\"1\"\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("@=\"default\"\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Blob\"=hex:01,02,ff\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Path\"=hex(2):25,00,41,00,25,00,00,00\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Big\"=hex(b):01,00,00,00,00,00,00,80\n"), std::string::npos);
    RegistryKeyTree reread;
    ASSERT_TRUE(parseRegEdit(saved, reread).ok);
    EXPECT_EQ(formatRegEdit(reread), saved);

    RegistryKeyTree old;
    const auto four =
        parseRegEdit("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=dword:00000001\r\n", old);
    ASSERT_TRUE(four.ok) << four.error;
    EXPECT_NE(old.find("A"), nullptr);
}

TEST(RegEditFormat, WideTextWithControlCharactersSurvivesTheRoundTrip) {
    RegistryKeyTree tree;
    tree.findOrCreate("A").values["Mixed"] = std::string("\u03a9\u00e9\n");
    tree.findOrCreate("A").values["Bytes"] = std::string("\xe9\x01", 2);
    RegistryKeyTree reread;
    ASSERT_TRUE(parseRegEdit(formatRegEdit(tree), reread).ok);
    EXPECT_EQ(std::get<std::string>(reread.find("A")->values.at("Mixed")), "\u03a9\u00e9\n");
    EXPECT_EQ(std::get<std::string>(reread.find("A")->values.at("Bytes")), std::string("\xe9\x01", 2));
}

// Keys nest at most 512 deep, as in real registries; a far deeper tree still frees without
// running out of stack.
TEST(RegEditFormat, KeysDeeperThan512LevelsAreRefusedAndDeepTreesFreeSafely) {
    auto nested = [](std::size_t depth) {
        std::string path;
        for (std::size_t i = 0; i < depth; ++i)
            path += "\\k";
        return path;
    };
    const std::string header = "Windows Registry Editor Version 5.00\n";
    RegistryKeyTree fits;
    EXPECT_TRUE(parseRegEdit(header + "[HKEY_LOCAL_MACHINE" + nested(512) + "]\n", fits).ok);
    RegistryKeyTree tooDeep;
    const auto refused = parseRegEdit(header + "[HKEY_LOCAL_MACHINE" + nested(513) + "]\n", tooDeep);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("deeper than 512"), std::string::npos);

    auto deep = std::make_unique<RegistryKeyTree>();
    deep->findOrCreate(nested(300000));
    deep.reset();
    RegistryKeyTree erased;
    erased.findOrCreate(nested(300000));
    EXPECT_TRUE(erased.erase("k"));
}

TEST(RegEditFormat, RefusesMalformedTextWithTheLineAtFault) {
    struct Case {
        std::string text;
        int line;
    };
    const std::string header = "Windows Registry Editor Version 5.00\n";
    const std::vector<Case> cases{
        {"", 0},
        {"REGEDIT5\n", 1},
        {header + "\"orphan\"=\"1\"\n", 2},
        {header + "[HKEY_LOCAL_MACHINE\\A\n", 2},
        {header + "[HKEY_CURRENT_USER\\A]\n", 2},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"open\"=\"never closed\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=dword:123456789\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=dword:12zz\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=hex(1):4\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=hex(zz):00,00\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"n\"=hex(1):00,d8,00,00\n", 3},
        {header + "[HKEY_LOCAL_MACHINE\\A]\ngarbage\n", 3},
    };
    for (const auto& [text, line] : cases) {
        RegistryKeyTree tree;
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
    MemoryRegistry registry;
    FakeSystemFacts facts;
    facts.architecture = ProcessorArchitecture::Amd64;
    facts.processors = 4;
    seedWindowsValues(registry, facts);
    EXPECT_NE(registry.readString(kWindowsVersionKey, "BuildLabEx", 500)->find("amd64"), std::string::npos);
    EXPECT_EQ(registry.readString(kWindowsVersionKey, "CurrentVersion"), "6.0");
    EXPECT_FALSE(registry.readString(kEnvironmentKey, "NUMBER_OF_PROCESSORS"))
        << "the hardware back-end's to set";

    // A value set by hand stays as it is.
    registry.writeString(kWindowsVersionKey, "BuildLabEx", "3790.srv03_sp2_rtm.070216-1710");
    facts.architecture = ProcessorArchitecture::Intel;
    seedWindowsValues(registry, facts);
    EXPECT_EQ(registry.readString(kWindowsVersionKey, "BuildLabEx"), "3790.srv03_sp2_rtm.070216-1710");

    MemoryRegistry x86;
    seedWindowsValues(x86, facts);
    EXPECT_EQ(x86.readString(kWindowsVersionKey, "BuildLabEx")->find("amd64"), std::string::npos);
}

TEST(RegistrySeed, TheProcessorCountIsTheMachinesAtEveryStart) {
    MemoryRegistry registry;
    registry.writeString(kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4"); // left by a run on another machine
    setProcessorCount(registry, 8);
    EXPECT_EQ(registry.readString(kEnvironmentKey, "NUMBER_OF_PROCESSORS"), "8");
}

} // namespace
} // namespace solvane::platform
