#pragma once

#include <filesystem>
#include <string>

namespace solvane::test {

// A fresh folder under the temporary folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    // Under another base folder, such as a memory file system for tests that write files often.
    explicit TempFolder(const std::filesystem::path& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path& path, const std::string& contents);
std::string readTextFile(const std::filesystem::path& path);

// The real third-party dumps the tests read: tests/data/realdata, their sources in SOURCES.md there.
std::filesystem::path realDataFolder();
// The folder holding the program and its run-time files.
std::filesystem::path programFolder();

} // namespace solvane::test
