#include "host/SysfsFile.h"

#include <fstream>

namespace solvane::host {

std::optional<std::string> readSysfsText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return std::nullopt;
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

std::optional<std::vector<std::uint8_t>> readSysfsBytes(const std::filesystem::path& file,
                                                        std::size_t maximumBytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(maximumBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<std::string> sysfsLinkName(const std::filesystem::path& link) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(link, error);
    if (error || target.filename().empty())
        return std::nullopt;
    return target.filename().string();
}

} // namespace solvane::host
