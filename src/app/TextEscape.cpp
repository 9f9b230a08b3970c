#include "app/TextEscape.h"

#include <array>
#include <cstdio>

namespace solvane::app {

namespace {

// Characters that turn the direction of the text after them: shown, they would make a name read
// differently from what it is.
constexpr std::array<char32_t, 12> kDirectionControls{0x061C, 0x200E, 0x200F, 0x202A, 0x202B, 0x202C,
                                                      0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069};

char32_t codePointOf(std::string_view sequence) {
    const auto byte = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(sequence[i]));
    };
    switch (sequence.size()) {
    case 1:
        return byte(0);
    case 2:
        return ((byte(0) & 0x1FU) << 6) | (byte(1) & 0x3FU);
    case 3:
        return ((byte(0) & 0x0FU) << 12) | ((byte(1) & 0x3FU) << 6) | (byte(2) & 0x3FU);
    default:
        return ((byte(0) & 0x07U) << 18) | ((byte(1) & 0x3FU) << 12) | ((byte(2) & 0x3FU) << 6) |
               (byte(3) & 0x3FU);
    }
}

bool mustEscape(char32_t point) {
    if (point < 0x20 || (point >= 0x7F && point <= 0x9F))
        return true;
    for (const auto control : kDirectionControls)
        if (point == control)
            return true;
    return false;
}

} // namespace

std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](std::size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        // No overlong forms and no UTF-16 surrogates.
        if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        if ((lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

std::string escapeControls(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto length = utf8SequenceLength(text.substr(i));
        char escaped[12];
        if (length == 0) {
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[i]));
            out += escaped;
            ++i;
            continue;
        }
        const auto sequence = text.substr(i, length);
        i += length;
        const auto point = codePointOf(sequence);
        if (!mustEscape(point)) {
            out.append(sequence);
            continue;
        }
        if (point == '\n')
            out += "\\n";
        else if (point == '\t')
            out += "\\t";
        else if (point == '\r')
            out += "\\r";
        else {
            std::snprintf(escaped, sizeof escaped, point < 0x80 ? "\\x%02x" : "\\u%04x",
                          static_cast<unsigned>(point));
            out += escaped;
        }
    }
    return out;
}

} // namespace solvane::app
