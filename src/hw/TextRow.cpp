#include "hw/TextRow.h"

#include "hw/HexDigit.h"
#include "platform/TrimBlanks.h"

#include <algorithm>

namespace solvane::hw {

std::optional<std::string_view> takeRowField(std::string_view& row) {
    const auto end = row.find(';');
    if (end == std::string_view::npos)
        return std::nullopt;
    const auto field = platform::trimBlanks(row.substr(0, end));
    row.remove_prefix(end + 1);
    return field;
}

std::uint32_t readHexCode(std::string_view field, std::size_t maxDigits) {
    if (field.starts_with("0x"))
        field.remove_prefix(2);
    std::uint32_t value = 0;
    for (const char c : field.substr(0, std::min(maxDigits, field.size())))
        value = value * 16 + hexDigit(c).value_or(0);
    return value;
}

} // namespace solvane::hw
