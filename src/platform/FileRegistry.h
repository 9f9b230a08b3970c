#pragma once

#include "platform/MemoryRegistry.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace solvane::platform {

// The registry kept as a REGEDIT-format file. Every change rewrites the file atomically, so the
// file always holds either the state before a change or the state after it.
class FileRegistry final : public MemoryRegistry {
public:
    struct Opened {
        std::unique_ptr<FileRegistry> registry;
        // Set when the file could not be used: a damaged file was moved aside and this says where;
        // a file that could not be read was left alone and the registry keeps nothing.
        std::string notice;
    };

    // Opens (or starts) the registry file; only a missing file starts a new registry. A file that
    // cannot be parsed is never overwritten: it is renamed to "<name>.corrupt-<time>" and the
    // registry starts empty. A file that cannot be read (or is no regular file) stays where it is
    // and the registry saves nothing over it.
    static Opened open(const std::filesystem::path& file);

    const std::filesystem::path& file() const { return m_file; }
    // What went wrong with the last change that could not be kept, empty when none did.
    const std::string& lastError() const { return m_lastError; }
    // Hears, once per run, that a change could not be saved.
    void onSaveFailure(std::function<void(const std::string& message)> tell) {
        m_onSaveFailure = std::move(tell);
    }

protected:
    bool commit() override;

private:
    explicit FileRegistry(std::filesystem::path file);

    std::filesystem::path m_file;
    std::string m_lastError;
    std::function<void(const std::string&)> m_onSaveFailure;
    bool m_saveFailureTold = false;
};

// The registry file as it stands, in memory: changes stay in the process and the file is never
// written (a report must not disturb a running copy). A file that cannot be parsed gives an empty
// registry, and notice says why.
std::unique_ptr<MemoryRegistry> openRegistrySnapshot(const std::filesystem::path& file, std::string& notice);

} // namespace solvane::platform
