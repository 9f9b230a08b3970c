// The files the program keeps, under attack and on failing disks: nothing read is lost, nothing
// planted is written through, and nothing is written over a file that could not be read.
#include "platform/AtomicFile.h"
#include "platform/FileRegistry.h"
#include "platform/NamedMutex.h"
#include "platform/ServiceManager.h"
#include "platform/StateFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace solvane::platform {
namespace {

using test::TempFolder;

constexpr std::string_view kKey = "Software\\Tarvok\\SolvaneCenter";

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, APlantedLinkOrFileAtTheTemporaryNameIsNeverWrittenThrough) {
    TempFolder folder;
    const auto victim = folder / "victim";
    test::writeFile(victim, "precious");
    std::filesystem::create_symlink(victim, folder / "registry.reg.tmp");
    test::writeFile(folder / "registry.reg.tmp-AAAAAA", "left by someone");

    ASSERT_EQ(writeFileAtomically(folder / "registry.reg", "new"), "");
    EXPECT_EQ(test::readTextFile(victim), "precious");
    EXPECT_EQ(test::readTextFile(folder / "registry.reg"), "new");
    EXPECT_EQ(test::readTextFile(folder / "registry.reg.tmp-AAAAAA"), "left by someone");
    EXPECT_EQ(namesIn(folder.path()).size(), 4U) << "no temporary file is left behind";
}

TEST(AtomicFile, AFailedWriteLeavesNoTemporaryFile) {
    TempFolder folder;
    // A folder in the file's place: the rename fails after the temporary file was written.
    std::filesystem::create_directories(folder / "registry.reg" / "inside");
    EXPECT_NE(writeFileAtomically(folder / "registry.reg", "new"), "");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"registry.reg"});
}

TEST(KeptFile, OnlyAMissingFileCountsAsNewAndNonRegularFilesAreRefusedWithTheirName) {
    TempFolder folder;
    EXPECT_EQ(readKeptFile(folder / "absent").status, FileRead::Status::Missing);
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "folder");
    for (const auto* path : {"fifo", "folder", "/dev/null"}) {
        const auto where = std::string(path).starts_with('/') ? std::filesystem::path(path) : folder / path;
        const auto read = readKeptFile(where); // must not wait on the FIFO
        EXPECT_EQ(read.status, FileRead::Status::Failed) << path;
        EXPECT_NE(read.error.find(where.string()), std::string::npos) << read.error;
    }
}

TEST(FileRegistry, AFileThatCannotBeReadIsLeftAloneAndNothingIsSavedOverIt) {
    TempFolder folder;
    const auto file = folder / "registry.reg";
    std::filesystem::create_directory(file);
    auto opened = FileRegistry::open(file);
    EXPECT_NE(opened.notice.find(file.string()), std::string::npos) << opened.notice;
    EXPECT_FALSE(opened.registry->writeString(kKey, "EnableSolvane", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"registry.reg"});

    if (::geteuid() == 0)
        return; // permissions do not stop the superuser
    std::filesystem::remove(file);
    test::writeFile(file,
                    "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\A]\n\"degree\"=dword:7\n");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    auto unreadable = FileRegistry::open(file);
    EXPECT_NE(unreadable.notice.find("cannot"), std::string::npos);
    EXPECT_FALSE(unreadable.registry->writeDword("A", "degree", 0));
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    EXPECT_NE(test::readTextFile(file).find("dword:7"), std::string::npos);
}

TEST(FileRegistry, FailedSavesAreToldOnceAndLeaveNoTemporaryFiles) {
    TempFolder folder;
    const auto gone = folder / "gone";
    std::filesystem::create_directory(gone);
    auto opened = FileRegistry::open(gone / "registry.reg");
    std::vector<std::string> told;
    opened.registry->onSaveFailure([&](const std::string& message) { told.push_back(message); });
    ASSERT_TRUE(opened.registry->writeString(kKey, "EnableSolvane", "1"));
    std::filesystem::remove_all(gone);
    EXPECT_FALSE(opened.registry->writeString(kKey, "EnableSolvane", "2"));
    EXPECT_FALSE(opened.registry->writeDword(kKey, "degree", 3));
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told.front().find("cannot be kept"), std::string::npos);
    EXPECT_TRUE(namesIn(folder.path()).empty());
}

TEST(FileRegistry, EachDamagedFileIsKeptUnderItsOwnName) {
    TempFolder folder;
    const auto file = folder / "registry.reg";
    for (const char* damage : {"first damage\n", "second damage\n"}) {
        test::writeFile(file, damage);
        EXPECT_NE(FileRegistry::open(file).notice.find("damaged"), std::string::npos);
    }
    std::vector<std::string> kept;
    for (const auto& name : namesIn(folder.path()))
        if (name.starts_with("registry.reg.corrupt-"))
            kept.push_back(test::readTextFile(folder / name));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"first damage\n", "second damage\n"}));
}

TEST(ServiceTable, DamagedLinesStayInTheFileAndAFifoIsRefused) {
    TempFolder folder;
    const auto file = folder / "services.tsv";
    test::writeFile(file, "# header\nbroken\tline\nAlso\tx\t3\t1\t4\tname\t/path\n");
    {
        ServiceTable table(file);
        EXPECT_TRUE(table.problem().empty());
        ASSERT_EQ(table.createService("New", {}), WinError::Success);
    }
    const auto text = test::readTextFile(file);
    EXPECT_NE(text.find("broken\tline\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Also\tx\t3\t1\t4\tname\t/path\n"), std::string::npos) << text;
    EXPECT_NE(text.find("New\t"), std::string::npos);

    std::filesystem::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    ServiceTable onFifo(file);
    EXPECT_NE(onFifo.problem().find(file.string()), std::string::npos);
    EXPECT_EQ(onFifo.createService("New", {}), WinError::Success);
    struct stat info {};
    ASSERT_EQ(::lstat(file.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "nothing was written over what stands there";
}

TEST(PrivateFolder, OnlyAFolderOfThisUserClosedToOthersIsUsed) {
    TempFolder base;
    const auto fresh = base / "fresh";
    EXPECT_EQ(preparePrivateFolder(fresh), "");
    struct stat info {};
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700U);

    const auto open = base / "open";
    ::mkdir(open.c_str(), 0777);
    ::chmod(open.c_str(), 0777);
    EXPECT_NE(preparePrivateFolder(open).find("open to other users"), std::string::npos);

    std::filesystem::create_directory_symlink(fresh, base / "link");
    EXPECT_NE(preparePrivateFolder(base / "link").find("not a folder"), std::string::npos);

    if (::geteuid() == 0) {
        const auto foreign = base / "foreign";
        ::mkdir(foreign.c_str(), 0700);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_NE(preparePrivateFolder(foreign).find("belongs to another user"), std::string::npos);
    }
}

TEST(FileLockMutex, TheLockInTheStateFolderStopsACopyWithAnotherRuntimeFolder) {
    TempFolder runtimeA;
    TempFolder runtimeB;
    TempFolder state;
    FileLockMutexService first(runtimeA.path(), {state.path()});
    FileLockMutexService second(runtimeB.path(), {state.path()});
    auto held = first.create("SolvaneII System");
    ASSERT_NE(held.mutex, nullptr);
    EXPECT_NE(second.open("SolvaneII System"), nullptr);
    const auto refused = second.create("SolvaneII System");
    EXPECT_EQ(refused.mutex, nullptr);
    EXPECT_TRUE(refused.alreadyExisted);
    held.mutex->release();
    EXPECT_NE(second.create("SolvaneII System").mutex, nullptr);
}

TEST(FileLockMutex, APlantedLinkAtTheLockIsNotFollowed) {
    TempFolder runtime;
    const auto victim = runtime / "victim";
    test::writeFile(victim, "precious");
    std::filesystem::create_symlink(victim, runtime / "SolvaneII System.lock");
    FileLockMutexService service(runtime.path());
    EXPECT_EQ(service.create("SolvaneII System").mutex, nullptr);
    EXPECT_EQ(test::readTextFile(victim), "precious");
}

} // namespace
} // namespace solvane::platform
