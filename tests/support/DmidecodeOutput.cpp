#include "support/DmidecodeOutput.h"

#include <cstdio>
#include <fstream>

namespace solvane::test {

std::string PrintedStructure::field(const std::string& key) const {
    const auto found = fields.find(key);
    return found == fields.end() ? std::string() : found->second;
}

std::vector<PrintedStructure> readDmidecodeOutput(const std::filesystem::path& path) {
    std::vector<PrintedStructure> printed;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        PrintedStructure header;
        if (std::sscanf(line.c_str(), "Handle 0x%x, DMI type %u, %u bytes", &header.handle, &header.type,
                        &header.length) == 3) {
            printed.push_back(header);
            continue;
        }
        const auto colon = line.find(": ");
        if (printed.empty() || line.size() < 2 || line[0] != '\t' || line[1] == '\t' ||
            colon == std::string::npos)
            continue;
        printed.back().fields.emplace(line.substr(1, colon - 1), line.substr(colon + 2));
    }
    return printed;
}

} // namespace solvane::test
