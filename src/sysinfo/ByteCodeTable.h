#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace solvane::sysinfo {

// The information pages keep their lookup tables as text rows, a byte code and a text, each ended by
// ";" ("0x0B;DDR3;"). A row whose code field is not hexadecimal matches what its digits read as.

// The text of the first row whose code equals code; empty when no row has it.
std::optional<std::string_view> findRowText(std::span<const std::string_view> rows, std::uint8_t code);

// The decimal number a size text starts with ("512 MBytes" gives 512); 0 when it starts with none.
unsigned leadingNumber(std::string_view text);

} // namespace solvane::sysinfo
