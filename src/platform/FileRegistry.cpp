#include "platform/FileRegistry.h"

#include "platform/AtomicFile.h"
#include "platform/RegEditFormat.h"

#include <chrono>
#include <ctime>
#include <system_error>

namespace solvane::platform {

namespace {

std::filesystem::path asideName(const std::filesystem::path& file) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    auto aside = file;
    aside += std::string(".corrupt-") + stamp;
    for (int n = 2; std::filesystem::exists(aside); ++n) {
        aside = file;
        aside += std::string(".corrupt-") + stamp + "-" + std::to_string(n);
    }
    return aside;
}

} // namespace

FileRegistry::FileRegistry(std::filesystem::path file) : m_file(std::move(file)) {}

FileRegistry::Opened FileRegistry::open(const std::filesystem::path& file) {
    Opened opened;
    opened.registry.reset(new FileRegistry(file));
    const auto text = readWholeFile(file);
    if (!text)
        return opened; // No file yet: the registry starts empty.
    const auto parsed = parseRegEdit(*text, opened.registry->mutableTree());
    if (parsed.ok)
        return opened;

    opened.registry.reset(new FileRegistry(file));
    const auto aside = asideName(file);
    std::error_code error;
    std::filesystem::rename(file, aside, error);
    opened.notice = "The settings file " + file.string() + " is damaged (line " +
                    std::to_string(parsed.errorLine) + ": " + parsed.error + ").\n";
    if (error) {
        opened.notice += "It could not be moved aside (" + error.message() +
                         "), so settings changed in this run cannot be saved.";
        opened.registry->m_lastError = error.message();
        opened.registry->setReadOnly(true);
    } else {
        opened.notice += "It was kept as " + aside.string() + " and Solvane starts with fresh settings.";
    }
    return opened;
}

bool FileRegistry::commit() {
    m_lastError = writeFileAtomically(m_file, formatRegEdit(tree()));
    return m_lastError.empty();
}

std::unique_ptr<TreeRegistry> openRegistrySnapshot(const std::filesystem::path& file, std::string& notice) {
    const auto text = readWholeFile(file);
    if (!text)
        return std::make_unique<TreeRegistry>();
    RegistryTree tree;
    const auto parsed = parseRegEdit(*text, tree);
    if (!parsed.ok) {
        notice = "The settings file " + file.string() + " is damaged (line " +
                 std::to_string(parsed.errorLine) + ": " + parsed.error +
                 "); the report uses fresh settings.";
        return std::make_unique<TreeRegistry>();
    }
    return std::make_unique<TreeRegistry>(std::move(tree));
}

} // namespace solvane::platform
