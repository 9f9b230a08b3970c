#pragma once

#include <string>
#include <string_view>

namespace solvane::platform {

// Windows compares names of keys, values, services, devices and modules without regard to the
// case of ASCII letters; these helpers do the same.
constexpr char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lowerAscii(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = lowerAscii(c);
    return lowered;
}

} // namespace solvane::platform
