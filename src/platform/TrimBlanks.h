#pragma once

#include <string_view>

namespace solvane::platform {

// The text without the blanks and tabs at either end, as the program's text tables and the kernel's
// "name: value" files pad their fields.
inline std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace solvane::platform
