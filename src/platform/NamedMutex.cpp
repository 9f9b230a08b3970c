#include "platform/NamedMutex.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace solvane::platform {

namespace {

class FileLockMutex final : public NamedMutex {
public:
    FileLockMutex() = default;
    ~FileLockMutex() override {
        release();
        for (const int fd : m_fds)
            ::close(fd);
    }
    FileLockMutex(const FileLockMutex&) = delete;
    FileLockMutex& operator=(const FileLockMutex&) = delete;

    void add(int fd) { m_fds.push_back(fd); }
    bool owned() const override { return m_owned; }
    void release() override {
        if (m_owned)
            for (const int fd : m_fds)
                ::flock(fd, LOCK_UN);
        m_owned = false;
    }

private:
    std::vector<int> m_fds;
    bool m_owned = true;
};

std::filesystem::path lockFileIn(const std::filesystem::path& folder, std::string_view name) {
    std::string file(name);
    for (char& c : file)
        if (c == '/' || c == '\\')
            c = '_';
    return folder / (file + ".lock");
}

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

FileLockMutexService::FileLockMutexService(std::filesystem::path folder,
                                           std::vector<std::filesystem::path> more)
    : m_folders(std::move(more)) {
    m_folders.insert(m_folders.begin(), std::move(folder));
}

ChosenFolder FileLockMutexService::defaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0')
        return {runtime, false};
    return {std::filesystem::temp_directory_path() / ("solvane-" + std::to_string(::getuid())), true};
}

std::filesystem::path FileLockMutexService::lockFile(std::string_view name) const {
    return lockFileIn(m_folders.front(), name);
}

std::unique_ptr<NamedMutex> FileLockMutexService::open(std::string_view name) {
    for (const auto& folder : m_folders) {
        const int fd = ::open(lockFileIn(folder, name).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Someone holds the lock exactly when we cannot take it ourselves.
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        if (held)
            return std::make_unique<ForeignMutex>();
    }
    return nullptr;
}

NamedMutexService::Created FileLockMutexService::create(std::string_view name) {
    Created created;
    auto mutex = std::make_unique<FileLockMutex>();
    for (const auto& folder : m_folders) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        // No link is followed: a planted one cannot make the lock open someone else's file.
        const int fd =
            ::open(lockFileIn(folder, name).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return created;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            created.alreadyExisted = errno == EWOULDBLOCK;
            ::close(fd);
            return created; // the locks taken so far go with mutex
        }
        mutex->add(fd);
    }
    created.mutex = std::move(mutex);
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
