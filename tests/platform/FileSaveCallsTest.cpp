// A file save call by call: both flushes happen and in their place (the file's before the rename,
// the folder's after it), every failure is reported and leaves the old file whole and no
// temporary file behind, and short or interrupted writes still write everything.
#include "platform/AtomicFile.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <optional>

namespace solvane::platform {
namespace {

using test::TempFolder;

// The real calls, each one written down; one chosen call can be made to fail, and the writes can
// be cut short or interrupted.
class RecordingFileCalls final : public FileCalls {
public:
    int createUnique(std::string& nameTemplate) override {
        if (refuse("create"))
            return -1;
        const int fd = real.createUnique(nameTemplate);
        temporaryFd = fd;
        temporaryName = nameTemplate;
        calls.push_back("create");
        return fd;
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        if (interruptNextWrite) {
            interruptNextWrite = false;
            errno = EINTR;
            calls.push_back("write interrupted");
            return -1;
        }
        if (refuse("write"))
            return -1;
        calls.push_back("write " + name(fd));
        return real.write(fd, data, writeLimit ? std::min(size, *writeLimit) : size);
    }
    int sync(int fd) override {
        if (refuse("sync " + name(fd)))
            return -1;
        calls.push_back("sync " + name(fd));
        return fd == kFakeFolderFd ? 0 : real.sync(fd);
    }
    int close(int fd) override {
        const auto call = "close " + name(fd);
        calls.push_back(call);
        if (fd == temporaryFd)
            temporaryFd = -1; // its number may come back for the folder
        if (fd == kFakeFolderFd && folderFdZero)
            return 0;
        const int result = real.close(fd);
        return refuse(call) ? -1 : result;
    }
    int rename(const std::string& from, const std::string& to) override {
        if (refuse("rename"))
            return -1;
        calls.push_back(from == temporaryName ? "rename temporary" : "rename " + from);
        return real.rename(from, to);
    }
    int unlink(const std::string& name) override {
        calls.push_back(name == temporaryName ? "unlink temporary" : "unlink " + name);
        return real.unlink(name);
    }
    int openFolder(const std::string& path) override {
        calls.push_back("open folder");
        if (folderFdZero)
            return kFakeFolderFd;
        folderFd = real.openFolder(path);
        return folderFd;
    }

    // Descriptor 0 is a descriptor like any other: a program started with its input closed gets it.
    static constexpr int kFakeFolderFd = 0;

    std::vector<std::string> calls;
    std::string failing;
    std::optional<std::size_t> writeLimit;
    bool interruptNextWrite = false;
    bool folderFdZero = false;

private:
    std::string name(int fd) const {
        if (fd == temporaryFd)
            return "temporary";
        if (fd == folderFd || (folderFdZero && fd == kFakeFolderFd))
            return "folder";
        return std::to_string(fd);
    }
    bool refuse(const std::string& call) {
        if (call != failing)
            return false;
        calls.push_back(call + " fails");
        errno = EIO;
        return true;
    }

    FileCalls& real = systemFileCalls();
    int temporaryFd = -1;
    int folderFd = -1;
    std::string temporaryName;
};

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(FileSave, FlushesTheFileBeforeTheRenameAndTheFolderAfterIt) {
    TempFolder folder;
    RecordingFileCalls calls;
    ASSERT_EQ(writeFileAtomically(folder / "registry.reg", "settings", calls), "");
    EXPECT_EQ(calls.calls,
              (std::vector<std::string>{"create", "write temporary", "sync temporary", "close temporary",
                                        "rename temporary", "open folder", "sync folder", "close folder"}));
    EXPECT_EQ(test::readTextFile(folder / "registry.reg"), "settings");
    EXPECT_EQ(filesIn(folder.path()), 1U);

    RecordingFileCalls zero;
    zero.folderFdZero = true;
    ASSERT_EQ(writeFileAtomically(folder / "registry.reg", "again", zero), "");
    EXPECT_EQ(std::vector<std::string>(zero.calls.end() - 3, zero.calls.end()),
              (std::vector<std::string>{"open folder", "sync folder", "close folder"}));
}

TEST(FileSave, EveryFailingCallIsReportedAndLeavesTheOldFileWhole) {
    struct Case {
        std::string failing;
        std::string message;           // how the error begins
        std::vector<std::string> tail; // the last calls: the temporary file closed and removed
    };
    const std::vector<Case> cases{
        {"create", "cannot create a temporary file for", {"create fails"}},
        {"write", "cannot write", {"write fails", "close temporary", "unlink temporary"}},
        {"sync temporary", "cannot flush", {"sync temporary fails", "close temporary", "unlink temporary"}},
        {"close temporary", "cannot close", {"close temporary", "close temporary fails", "unlink temporary"}},
        {"rename", "cannot replace", {"rename fails", "unlink temporary"}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        test::writeFile(folder / "registry.reg", "old settings");
        RecordingFileCalls calls;
        calls.failing = c.failing;
        const auto error = writeFileAtomically(folder / "registry.reg", "new settings", calls);
        EXPECT_EQ(error.rfind(c.message, 0), 0U) << c.failing << ": " << error;
        EXPECT_NE(error.find("Input/output error"), std::string::npos) << c.failing << ": " << error;
        ASSERT_GE(calls.calls.size(), c.tail.size()) << c.failing;
        EXPECT_EQ(std::vector<std::string>(calls.calls.end() - static_cast<std::ptrdiff_t>(c.tail.size()),
                                           calls.calls.end()),
                  c.tail)
            << c.failing;
        EXPECT_EQ(std::count(calls.calls.begin(), calls.calls.end(), "close temporary"),
                  c.failing == "create" ? 0 : 1)
            << c.failing << ": the temporary file is closed exactly once";
        EXPECT_EQ(test::readTextFile(folder / "registry.reg"), "old settings") << c.failing;
        EXPECT_EQ(filesIn(folder.path()), 1U) << c.failing << ": no temporary file is left";
    }
}

TEST(FileSave, ShortAndInterruptedWritesStillWriteEverything) {
    TempFolder folder;
    RecordingFileCalls calls;
    calls.writeLimit = 3;
    calls.interruptNextWrite = true;
    ASSERT_EQ(writeFileAtomically(folder / "registry.reg", "0123456789", calls), "");
    EXPECT_EQ(test::readTextFile(folder / "registry.reg"), "0123456789");
    EXPECT_EQ(std::count(calls.calls.begin(), calls.calls.end(), "write temporary"), 4);
    EXPECT_EQ(calls.calls[1], "write interrupted");

    RecordingFileCalls empty;
    ASSERT_EQ(writeFileAtomically(folder / "empty.reg", "", empty), "");
    EXPECT_EQ(std::count(empty.calls.begin(), empty.calls.end(), "write temporary"), 0)
        << "nothing to write, no write";
    EXPECT_EQ(test::readTextFile(folder / "empty.reg"), "");
}

} // namespace
} // namespace solvane::platform
