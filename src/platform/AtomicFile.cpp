#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <utility>

namespace solvane::platform {

namespace {

std::string describe(std::string_view what, const std::filesystem::path& path) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
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

} // namespace

std::string writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    auto temporary = path;
    temporary += ".tmp";
    {
        FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (file.get() < 0)
            return describe("cannot create", temporary);
        std::size_t written = 0;
        while (written < contents.size()) {
            const auto result = ::write(file.get(), contents.data() + written, contents.size() - written);
            if (result < 0) {
                if (errno == EINTR)
                    continue;
                return describe("cannot write", temporary);
            }
            written += static_cast<std::size_t>(result);
        }
        if (::fsync(file.get()) != 0)
            return describe("cannot flush", temporary);
        if (::close(file.release()) != 0)
            return describe("cannot close", temporary);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return describe("cannot replace", path);
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
    return {};
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

} // namespace solvane::platform
