// The settings file after a crash or damage: what a restart finds, and what it keeps.
#include "platform/FileRegistry.h"
#include "platform/RegEditFormat.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::platform {
namespace {

using test::TempFolder;

constexpr std::string_view kKey = "Software\\Tarvok\\SolvaneCenter";
constexpr std::string_view kBatch = "Software\\Tarvok\\SolvaneCenter2\\Batch";

std::vector<std::filesystem::path> keptCopies(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("registry.reg.corrupt-"))
            kept.push_back(entry.path());
    std::sort(kept.begin(), kept.end());
    return kept;
}

// A crash between creating the temporary file and renaming it leaves that file behind, longer
// than the next save: it is never read as settings, and nothing of it reaches the next save.
TEST(RegistryRecovery, ATemporaryFileLeftByACrashNeitherCountsNorLeaks) {
    TempFolder folder;
    const auto file = folder / "registry.reg";
    {
        auto opened = FileRegistry::open(file);
        ASSERT_TRUE(opened.registry->writeString(kKey, "EnableSolvane", "2"));
    }
    const auto saved = test::readTextFile(file);
    const std::string longer = saved + "[HKEY_LOCAL_MACHINE\\" + std::string(kBatch) +
                               "]\n\"degree\"=dword:00000063\n" + std::string(4096, ';') + "\n";
    for (const auto* name : {"registry.reg.tmp", "registry.reg.tmp-Ab12Cd"})
        test::writeFile(folder / name, longer);

    auto opened = FileRegistry::open(file);
    EXPECT_TRUE(opened.notice.empty());
    EXPECT_EQ(opened.registry->readString(kKey, "EnableSolvane"), "2");
    EXPECT_FALSE(opened.registry->readDword(kBatch, "degree")) << "the leftover is not the settings";
    ASSERT_TRUE(opened.registry->writeString(kKey, "EnableSolvane", "1"));
    const auto next = test::readTextFile(file);
    EXPECT_LT(next.size(), longer.size());
    EXPECT_EQ(next.find(';'), std::string::npos) << "no tail of the leftover";
    EXPECT_EQ(test::readTextFile(folder / "registry.reg.tmp-Ab12Cd"), longer)
        << "someone else's file is left alone";
}

// A file damaged part-way: the values before the damage are not taken over, since a file cut or
// overwritten in the middle cannot say which of them belong together (a mode without its totals,
// totals of another run). The run starts fresh, and the whole file is kept as it was.
TEST(RegistryRecovery, GoodValuesBeforeTheDamageStayInTheKeptCopyOnly) {
    TempFolder folder;
    const auto file = folder / "registry.reg";
    const std::string damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\" +
                                std::string(kKey) + "]\n\"EnableSolvane\"=\"2\"\n\n[HKEY_LOCAL_MACHINE\\" +
                                std::string(kBatch) + "]\n\"degree\"=dword:0000002a\n\"total";
    test::writeFile(file, damaged);
    auto opened = FileRegistry::open(file);
    EXPECT_NE(opened.notice.find("line 8"), std::string::npos) << opened.notice;
    EXPECT_FALSE(opened.registry->readString(kKey, "EnableSolvane"));
    EXPECT_FALSE(opened.registry->readDword(kBatch, "degree"));
    const auto kept = keptCopies(folder.path());
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(test::readTextFile(kept.front()), damaged);
    EXPECT_FALSE(std::filesystem::exists(file)) << "nothing was written yet";
}

// A file that ends inside a value continued on the next line was cut short: it is damaged, not a
// shorter value.
TEST(RegistryRecovery, AFileEndingInsideAContinuedValueIsDamaged) {
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\" +
                             std::string(kKey) + "]\n\"Blob\"=hex:01,02,\\\n  03,04,\\\n";
    for (const auto& text : {head, head + "  ", head.substr(0, head.size() - 1)}) {
        RegistryKeyTree tree;
        const auto parsed = parseRegEdit(text, tree);
        EXPECT_FALSE(parsed.ok) << text;
        EXPECT_GE(parsed.errorLine, 5) << text;
    }
    RegistryKeyTree whole;
    EXPECT_TRUE(parseRegEdit(head + "  05\n", whole).ok) << "the same value, finished";

    TempFolder folder;
    test::writeFile(folder / "registry.reg", head);
    auto opened = FileRegistry::open(folder / "registry.reg");
    EXPECT_NE(opened.notice.find("damaged"), std::string::npos);
    EXPECT_EQ(keptCopies(folder.path()).size(), 1U);
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// Every start reads the file: whether it is good, damaged, missing or a folder, no descriptor stays
// open, or a long-running program would run out of them.
TEST(RegistryRecovery, ReadingTheFileLeavesNoDescriptorOpen) {
    TempFolder folder;
    {
        auto opened = FileRegistry::open(folder / "good.reg");
        ASSERT_TRUE(opened.registry->writeString(kKey, "EnableSolvane", "1"));
    }
    std::filesystem::create_directory(folder / "folder.reg");
    const auto before = openDescriptors();
    for (int round = 0; round < 5; ++round) {
        test::writeFile(folder / "damaged.reg", "not a settings file");
        for (const auto* name : {"good.reg", "damaged.reg", "missing.reg", "folder.reg"})
            FileRegistry::open(folder / name);
    }
    EXPECT_EQ(openDescriptors(), before);
}

} // namespace
} // namespace solvane::platform
