#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace solvane::hw {

// The lookup tables of the information pages and of the board identification are kept as text
// rows: a code, ";", a text, ";", and possibly further fields in the same form ("0x0B;DDR3;",
// "2904;Birch-B1;Birch-B2;"). These two routines are the only readers of that form.

// Takes the first field off row: the text before the first ";", trimmed of surrounding blanks.
// row is left just after that ";". Empty when row holds no ";" (every stored field is ended by one;
// an unterminated tail is not a field).
std::optional<std::string_view> takeRowField(std::string_view& row);

// Reads a code field as hexadecimal: a leading "0x" is removed, then up to maxDigits characters
// are read as hexadecimal digits (either case); a character that is not one counts as 0, and an
// empty field gives 0. Byte codes use 2 digits, chip identifiers 4; at most 8.
std::uint32_t readHexCode(std::string_view field, std::size_t maxDigits);

} // namespace solvane::hw
