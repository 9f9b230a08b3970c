#include "platform/NamedMutex.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace solvane::platform {

namespace {

class FileLockMutex final : public NamedMutex {
public:
    FileLockMutex(int fd, bool owned) : m_fd(fd), m_owned(owned) {}
    ~FileLockMutex() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLockMutex(const FileLockMutex&) = delete;
    FileLockMutex& operator=(const FileLockMutex&) = delete;

    bool owned() const override { return m_owned; }
    void release() override {
        if (m_owned)
            ::flock(m_fd, LOCK_UN);
        m_owned = false;
    }

private:
    int m_fd;
    bool m_owned;
};

class FakeMutex final : public NamedMutex {
public:
    FakeMutex(std::set<std::string>* held, std::string name) : m_held(held), m_name(std::move(name)) {}
    ~FakeMutex() override { release(); }
    bool owned() const override { return m_held != nullptr; }
    void release() override {
        if (m_held != nullptr)
            m_held->erase(m_name);
        m_held = nullptr;
    }

private:
    std::set<std::string>* m_held;
    std::string m_name;
};

class ForeignMutex final : public NamedMutex {
public:
    bool owned() const override { return false; }
    void release() override {}
};

} // namespace

FileLockMutexService::FileLockMutexService(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::filesystem::path FileLockMutexService::defaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0')
        return runtime;
    return std::filesystem::temp_directory_path() / ("solvane-" + std::to_string(::getuid()));
}

std::filesystem::path FileLockMutexService::lockFile(std::string_view name) const {
    std::string file(name);
    for (char& c : file)
        if (c == '/' || c == '\\')
            c = '_';
    return m_folder / (file + ".lock");
}

std::unique_ptr<NamedMutex> FileLockMutexService::open(std::string_view name) {
    const int fd = ::open(lockFile(name).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // Someone holds the lock exactly when we cannot take it ourselves.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::flock(fd, LOCK_UN);
        ::close(fd);
        return nullptr;
    }
    ::close(fd);
    return std::make_unique<ForeignMutex>();
}

NamedMutexService::Created FileLockMutexService::create(std::string_view name) {
    Created created;
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    const int fd = ::open(lockFile(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return created;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        created.alreadyExisted = errno == EWOULDBLOCK;
        ::close(fd);
        return created;
    }
    created.mutex = std::make_unique<FileLockMutex>(fd, true);
    return created;
}

std::unique_ptr<NamedMutex> FakeMutexService::open(std::string_view name) {
    if (!held(name))
        return nullptr;
    return std::make_unique<ForeignMutex>();
}

NamedMutexService::Created FakeMutexService::create(std::string_view name) {
    Created created;
    if (failCreate)
        return created;
    if (held(name)) {
        created.alreadyExisted = true;
        return created;
    }
    hold(name);
    created.mutex = std::make_unique<FakeMutex>(&m_held, std::string(name));
    return created;
}

} // namespace solvane::platform
