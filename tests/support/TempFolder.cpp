#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace solvane::test {

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(const std::filesystem::path& base) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("solvane-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void writeFile(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::filesystem::path realDataFolder() {
    return std::filesystem::path(SOLVANE_TEST_DATA) / "realdata";
}

std::filesystem::path programFolder() {
    const char* folder = std::getenv("SOLVANE_BIN_DIR");
    return folder != nullptr ? std::filesystem::path(folder) : std::filesystem::path(SOLVANE_BIN_DIR);
}

} // namespace solvane::test
