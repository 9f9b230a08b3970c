#pragma once

#include "platform/StateFolder.h"

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::platform {

// A handle on a system-wide named mutex. Closing the handle (destruction) releases ownership.
class NamedMutex {
public:
    virtual ~NamedMutex() = default;
    virtual bool owned() const = 0;
    virtual void release() = 0;
};

class NamedMutexService {
public:
    struct Created {
        std::unique_ptr<NamedMutex> mutex; // empty when creation failed
        bool alreadyExisted = false;
    };

    virtual ~NamedMutexService() = default;
    // A handle when a mutex of that name exists (some process owns it), else empty.
    virtual std::unique_ptr<NamedMutex> open(std::string_view name) = 0;
    // Creates the mutex with this process as its owner.
    virtual Created create(std::string_view name) = 0;
};

// Named mutexes as lock files held with flock in the user's runtime folder, and in any further
// folders given (a mutex is held only when every one of its lock files is). The kernel drops the
// locks when the owning process ends, however it ends.
class FileLockMutexService final : public NamedMutexService {
public:
    explicit FileLockMutexService(std::filesystem::path folder, std::vector<std::filesystem::path> more = {});
    // $XDG_RUNTIME_DIR, else a per-user folder under the temporary folder (shared).
    static ChosenFolder defaultFolder();

    std::unique_ptr<NamedMutex> open(std::string_view name) override;
    Created create(std::string_view name) override;

    // The lock file in the first folder.
    std::filesystem::path lockFile(std::string_view name) const;

private:
    std::vector<std::filesystem::path> m_folders;
};

// Test double: mutexes living in one shared set of names, so two "processes" in a test can meet.
class FakeMutexService final : public NamedMutexService {
public:
    std::unique_ptr<NamedMutex> open(std::string_view name) override;
    Created create(std::string_view name) override;
    bool held(std::string_view name) const { return m_held.count(std::string(name)) != 0; }
    void hold(std::string_view name) { m_held.insert(std::string(name)); }
    bool failCreate = false;

private:
    std::set<std::string> m_held;
};

} // namespace solvane::platform
