#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace solvane::test {

// One "Handle 0x…, DMI type N, L bytes" block of dmidecode's text output, with the value of each
// "\tKey: value" line in it (the first one of a key; nested lines are left out).
struct PrintedStructure {
    unsigned handle = 0;
    unsigned type = 0;
    unsigned length = 0;
    std::map<std::string, std::string> fields;

    // The value of key, or empty when the block has no such line.
    std::string field(const std::string& key) const;
};

// The blocks of a stored dmidecode output, in the order printed.
std::vector<PrintedStructure> readDmidecodeOutput(const std::filesystem::path& path);

} // namespace solvane::test
