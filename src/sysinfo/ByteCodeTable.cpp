#include "sysinfo/ByteCodeTable.h"

#include "hw/TextRow.h"

namespace solvane::sysinfo {

namespace {

constexpr std::size_t kByteCodeDigits = 2;

} // namespace

std::optional<std::string_view> findRowText(std::span<const std::string_view> rows, std::uint8_t code) {
    for (std::string_view row : rows) {
        const auto codeField = hw::takeRowField(row);
        if (codeField && hw::readHexCode(*codeField, kByteCodeDigits) == code)
            return hw::takeRowField(row).value_or(std::string_view{});
    }
    return std::nullopt;
}

unsigned leadingNumber(std::string_view text) {
    unsigned number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return number;
}

} // namespace solvane::sysinfo
