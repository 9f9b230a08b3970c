#include "hw/replay/ReplayText.h"

namespace solvane::hw {

namespace {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

constexpr std::size_t kQuotedCharacters = 40;

} // namespace

std::vector<TextLine> splitLines(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t number = 1;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({number++, line});
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<TextToken> splitTokens(std::string_view line) {
    std::vector<TextToken> tokens;
    std::size_t position = 0;
    while (position < line.size()) {
        const std::size_t blanksStart = position;
        while (position < line.size() && isBlank(line[position]))
            ++position;
        if (position == line.size())
            break;
        const std::size_t start = position;
        while (position < line.size() && !isBlank(line[position]))
            ++position;
        tokens.push_back({line.substr(start, position - start), start - blanksStart});
    }
    return tokens;
}

std::optional<std::uint32_t> parseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        const auto digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value << 4 | *digit;
    }
    return value;
}

std::string quoteForMessage(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text.substr(0, kQuotedCharacters))
        quoted += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (text.size() > kQuotedCharacters)
        quoted += "...";
    return quoted + "'";
}

std::string hexNumber(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (digits.size() < 2)
        digits.insert(digits.begin(), '0');
    return "0x" + digits;
}

std::string linePrefix(std::size_t number) {
    return "line " + std::to_string(number) + ": ";
}

} // namespace solvane::hw
