#include "platform/KeyValueLines.h"

#include "platform/TrimBlanks.h"

namespace solvane::platform {

std::vector<KeyValueLine> keyValueLines(std::string_view text) {
    std::vector<KeyValueLine> lines;
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        const auto line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        const auto colon = line.find(':');
        if (colon != std::string_view::npos)
            lines.push_back({trimBlanks(line.substr(0, colon)), trimBlanks(line.substr(colon + 1))});
    }
    return lines;
}

} // namespace solvane::platform
