#include "platform/KeyValueLines.h"

namespace solvane::platform {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

std::vector<KeyValueLine> keyValueLines(std::string_view text) {
    std::vector<KeyValueLine> lines;
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        const auto line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        const auto colon = line.find(':');
        if (colon != std::string_view::npos)
            lines.push_back({trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1))});
    }
    return lines;
}

} // namespace solvane::platform
