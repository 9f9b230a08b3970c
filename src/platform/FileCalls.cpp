#include "platform/FileCalls.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace solvane::platform {

namespace {

class SystemFileCalls final : public FileCalls {
public:
    int createUnique(std::string& nameTemplate) override {
        return ::mkostemp(nameTemplate.data(), O_CLOEXEC);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override { return ::write(fd, data, size); }
    int sync(int fd) override { return ::fsync(fd); }
    int close(int fd) override { return ::close(fd); }
    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str());
    }
    int unlink(const std::string& name) override { return ::unlink(name.c_str()); }
    int openFolder(const std::string& path) override {
        return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
};

} // namespace

FileCalls& systemFileCalls() {
    static SystemFileCalls calls;
    return calls;
}

} // namespace solvane::platform
