#include "platform/NamedMutex.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace solvane::platform {
namespace {

constexpr std::string_view kName = "SolvaneII System";

TEST(FileLockMutex, AHeldMutexIsSeenAndCannotBeCreatedAgain) {
    test::TempFolder folder;
    FileLockMutexService first(folder.path());
    FileLockMutexService second(folder.path());
    EXPECT_EQ(second.open(kName), nullptr);

    auto created = first.create(kName);
    ASSERT_NE(created.mutex, nullptr);
    EXPECT_TRUE(created.mutex->owned());
    EXPECT_TRUE(std::filesystem::exists(folder / "SolvaneII System.lock"));

    EXPECT_NE(second.open(kName), nullptr);
    const auto again = second.create(kName);
    EXPECT_EQ(again.mutex, nullptr);
    EXPECT_TRUE(again.alreadyExisted);

    created.mutex->release();
    EXPECT_EQ(second.open(kName), nullptr);
    EXPECT_NE(second.create(kName).mutex, nullptr);
}

TEST(FileLockMutex, OneFolderNamedTwiceIsLockedOnce) {
    // The state folder may be the runtime folder itself, or reached through a link to it.
    test::TempFolder folder;
    std::filesystem::create_directory_symlink(folder.path(), folder / "again");
    FileLockMutexService first(folder.path(), {folder.path(), folder / "again"});
    auto created = first.create(kName);
    ASSERT_NE(created.mutex, nullptr);
    EXPECT_TRUE(created.mutex->owned());

    FileLockMutexService second(folder.path());
    const auto again = second.create(kName);
    EXPECT_EQ(again.mutex, nullptr);
    EXPECT_TRUE(again.alreadyExisted);
    created.mutex->release();
    EXPECT_NE(second.create(kName).mutex, nullptr);
}

TEST(FileLockMutex, TheLockEndsWithItsProcessHoweverItEnds) {
    test::TempFolder folder;
    FileLockMutexService service(folder.path());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        FileLockMutexService own(folder.path());
        auto created = own.create(kName);
        const char byte = created.mutex ? 'y' : 'n';
        [[maybe_unused]] auto written = ::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    EXPECT_NE(service.open(kName), nullptr);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(service.open(kName), nullptr);
    EXPECT_NE(service.create(kName).mutex, nullptr);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(FileLockMutex, NamesWithSlashesStayInsideTheFolder) {
    test::TempFolder folder;
    FileLockMutexService service(folder.path());
    EXPECT_EQ(service.lockFile("Global\\a/b").parent_path(), folder.path());
}

} // namespace
} // namespace solvane::platform
