#include "tuning/ProfileText.h"

#include "platform/AsciiCase.h"

#include <cctype>

namespace solvane::tuning {

namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace

std::string takeListEntry(std::string& rest) {
    const auto end = rest.find(';');
    if (end == std::string::npos) {
        std::string last = std::move(rest);
        rest.clear();
        return last;
    }
    std::string entry = rest.substr(0, end);
    rest = trimmed(std::string_view(rest).substr(end + 1));
    return entry;
}

std::vector<std::string> listEntries(std::string_view list) {
    std::vector<std::string> entries;
    std::string rest(list);
    while (!rest.empty())
        entries.push_back(takeListEntry(rest));
    return entries;
}

int settingsNumber(std::string_view entry) {
    while (!entry.empty() && isBlank(entry.front()))
        entry.remove_prefix(1);
    bool negative = false;
    if (!entry.empty() && (entry.front() == '-' || entry.front() == '+')) {
        negative = entry.front() == '-';
        entry.remove_prefix(1);
    }
    long long number = 0;
    for (const char c : entry) {
        if (c < '0' || c > '9')
            break;
        // Far beyond any option index: hold the number there rather than overflow.
        if (number < 1'000'000'000LL)
            number = number * 10 + (c - '0');
    }
    return static_cast<int>(negative ? -number : number);
}

std::vector<std::optional<int>> parseSettings(std::string_view text, int count) {
    std::vector<std::optional<int>> values(static_cast<std::size_t>(count > 0 ? count : 0));
    std::string rest(text);
    for (auto& value : values) {
        if (rest.empty())
            break;
        value = settingsNumber(takeListEntry(rest));
    }
    return values;
}

std::string withoutEntry(std::string_view list, std::string_view name) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto end = list.find(';', start);
        const auto entryEnd = end == std::string_view::npos ? list.size() : end;
        if (list.substr(start, entryEnd - start) == name) {
            std::string shortened(list.substr(0, start));
            if (end != std::string_view::npos)
                shortened += list.substr(end + 1);
            return shortened;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return std::string(list);
}

bool listHoldsName(std::string_view list, std::string_view name) {
    const std::string entry = platform::lowerAscii(std::string(name) + ";");
    const std::string lowered = platform::lowerAscii(std::string(list));
    return lowered.starts_with(entry) || lowered.find(";" + entry) != std::string::npos;
}

} // namespace solvane::tuning
