#pragma once

#include <string_view>
#include <vector>

namespace solvane::platform {

// One "name: value" line as the kernel's /proc files write them.
struct KeyValueLine {
    std::string_view key;
    std::string_view value;
};

// The lines of text that hold a colon, each split at its first colon, name and value without the
// blanks and tabs around them ("MemTotal:       16318412 kB", "model name\t: ...").
std::vector<KeyValueLine> keyValueLines(std::string_view text);

} // namespace solvane::platform
