#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace solvane::platform {

namespace {

std::string describe(std::string_view what, const std::filesystem::path& path, int error = errno) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(error);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The temporary file of one save: removed again unless the save renamed it into place.
class TemporaryFile {
public:
    TemporaryFile(const std::filesystem::path& target, FileCalls& calls) : m_calls(calls) {
        m_name = target.string() + ".tmp-XXXXXX";
        // Created with O_EXCL under a name nobody could have prepared.
        m_fd = m_calls.createUnique(m_name);
        if (m_fd < 0)
            m_name.clear();
    }
    ~TemporaryFile() {
        if (m_fd >= 0)
            m_calls.close(m_fd);
        if (!m_name.empty())
            m_calls.unlink(m_name);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    const std::string& name() const { return m_name; }
    int close() { return m_calls.close(std::exchange(m_fd, -1)); }
    void kept() { m_name.clear(); }

private:
    FileCalls& m_calls;
    std::string m_name;
    int m_fd = -1;
};

} // namespace

std::string writeFileAtomically(const std::filesystem::path& path, std::string_view contents,
                                FileCalls& calls) {
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    TemporaryFile temporary(path, calls);
    if (temporary.fd() < 0)
        return describe("cannot create a temporary file for", path);
    std::size_t written = 0;
    while (written < contents.size()) {
        const auto result = calls.write(temporary.fd(), contents.data() + written, contents.size() - written);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            return describe("cannot write", temporary.name());
        }
        written += static_cast<std::size_t>(result);
    }
    if (calls.sync(temporary.fd()) != 0)
        return describe("cannot flush", temporary.name());
    if (temporary.close() != 0)
        return describe("cannot close", temporary.name());
    if (calls.rename(temporary.name(), path.string()) != 0)
        return describe("cannot replace", path);
    temporary.kept();
    // The new name is only durable once the folder's entries are flushed too.
    if (const int directory = calls.openFolder(folder.string()); directory >= 0) {
        calls.sync(directory);
        calls.close(directory);
    }
    return {};
}

FileRead readKeptFile(const std::filesystem::path& path) {
    FileRead read;
    // Non-blocking, so that a FIFO in the file's place cannot hold the program up.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT)
            return read;
        read.status = FileRead::Status::Failed;
        read.error = describe("cannot read", path);
        return read;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        read.status = FileRead::Status::Failed;
        read.error = describe("cannot read", path);
        return read;
    }
    if (!S_ISREG(info.st_mode)) {
        read.status = FileRead::Status::Failed;
        read.error = path.string() + " is not a regular file";
        return read;
    }
    char buffer[65536];
    while (true) {
        const auto got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            read.status = FileRead::Status::Failed;
            read.contents.clear();
            read.error = describe("cannot read", path);
            return read;
        }
        if (got == 0)
            break;
        read.contents.append(buffer, static_cast<std::size_t>(got));
    }
    read.status = FileRead::Status::Read;
    return read;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(contents).str();
}

std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file, std::string_view suffix,
                                               std::string& error) {
    for (int n = 1; n < 10000; ++n) {
        auto aside = file;
        aside += std::string(suffix) + (n == 1 ? std::string() : "-" + std::to_string(n));
        // RENAME_NOREPLACE: an earlier copy kept under that name stays as it is.
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return std::nullopt;
        }
    }
    error = "no free name to keep it under";
    return std::nullopt;
}

} // namespace solvane::platform
