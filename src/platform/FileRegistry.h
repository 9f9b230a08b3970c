#pragma once

#include "platform/TreeRegistry.h"

#include <filesystem>
#include <memory>
#include <string>

namespace solvane::platform {

// The registry kept as a REGEDIT-format file. Every change rewrites the file atomically, so the
// file always holds either the state before a change or the state after it.
class FileRegistry final : public TreeRegistry {
public:
    struct Opened {
        std::unique_ptr<FileRegistry> registry;
        // Set when the file could not be parsed: it was moved aside, and this says where.
        std::string notice;
    };

    // Opens (or starts) the registry file. A file that cannot be parsed is never overwritten:
    // it is renamed to "<name>.corrupt-<time>" and the registry starts empty.
    static Opened open(const std::filesystem::path& file);

    const std::filesystem::path& file() const { return m_file; }
    // What went wrong with the last change that could not be kept, empty when none did.
    const std::string& lastError() const { return m_lastError; }

protected:
    bool commit() override;

private:
    explicit FileRegistry(std::filesystem::path file);

    std::filesystem::path m_file;
    std::string m_lastError;
};

// The registry file as it stands, in memory: changes stay in the process and the file is never
// written (a report must not disturb a running copy). A file that cannot be parsed gives an empty
// registry, and notice says why.
std::unique_ptr<TreeRegistry> openRegistrySnapshot(const std::filesystem::path& file, std::string& notice);

} // namespace solvane::platform
