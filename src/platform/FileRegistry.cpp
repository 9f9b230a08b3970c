#include "platform/FileRegistry.h"

#include "platform/AtomicFile.h"
#include "platform/RegEditFormat.h"

#include <chrono>
#include <ctime>

namespace solvane::platform {

FileRegistry::FileRegistry(std::filesystem::path file) : m_file(std::move(file)) {}

FileRegistry::Opened FileRegistry::open(const std::filesystem::path& file) {
    Opened opened;
    opened.registry.reset(new FileRegistry(file));
    const auto read = readKeptFile(file);
    if (read.status == FileRead::Status::Missing)
        return opened; // No file yet: the registry starts empty.
    if (read.status == FileRead::Status::Failed) {
        // Whatever is there may hold the totals and the mode: it stays, and nothing is saved over it.
        opened.notice = "The settings file cannot be used (" + read.error +
                        ").\nIt was left as it is; settings changed in this run are not kept.";
        opened.registry->m_lastError = read.error;
        opened.registry->setReadOnly(true);
        return opened;
    }
    const auto parsed = parseRegEdit(read.contents, opened.registry->mutableTree());
    if (parsed.ok)
        return opened;

    opened.registry.reset(new FileRegistry(file));
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, ".corrupt-%Y%m%d-%H%M%S", &local);
    std::string error;
    const auto aside = moveAside(file, stamp, error);
    opened.notice = "The settings file " + file.string() + " is damaged (line " +
                    std::to_string(parsed.errorLine) + ": " + parsed.error + ").\n";
    if (!aside) {
        opened.notice +=
            "It could not be moved aside (" + error + "), so settings changed in this run cannot be saved.";
        opened.registry->m_lastError = error;
        opened.registry->setReadOnly(true);
    } else {
        opened.notice += "It was kept as " + aside->string() + " and Solvane starts with fresh settings.";
    }
    return opened;
}

bool FileRegistry::commit() {
    m_lastError = writeFileAtomically(m_file, formatRegEdit(tree()));
    if (m_lastError.empty())
        return true;
    // Told once: a failing disk would otherwise raise the same complaint every few seconds.
    if (m_onSaveFailure && !m_saveFailureTold) {
        m_saveFailureTold = true;
        m_onSaveFailure("The settings cannot be kept: " + m_lastError +
                        ".\nChanges made from now on are lost when Solvane ends.");
    }
    return false;
}

std::unique_ptr<MemoryRegistry> openRegistrySnapshot(const std::filesystem::path& file, std::string& notice) {
    const auto read = readKeptFile(file);
    if (read.status == FileRead::Status::Failed) {
        notice = "The settings file cannot be used (" + read.error + "); the report uses fresh settings.";
        return std::make_unique<MemoryRegistry>();
    }
    RegistryKeyTree tree;
    if (read.status == FileRead::Status::Missing)
        return std::make_unique<MemoryRegistry>();
    const auto parsed = parseRegEdit(read.contents, tree);
    if (!parsed.ok) {
        notice = "The settings file " + file.string() + " is damaged (line " +
                 std::to_string(parsed.errorLine) + ": " + parsed.error +
                 "); the report uses fresh settings.";
        return std::make_unique<MemoryRegistry>();
    }
    return std::make_unique<MemoryRegistry>(std::move(tree));
}

} // namespace solvane::platform
