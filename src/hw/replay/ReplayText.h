#pragma once

#include "hw/HexDigit.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::hw {

// Small text helpers shared by the parsers of replayed dumps (lspci and SPD hex text).

// One line of a text dump, without its line end, with its number counted from 1.
struct TextLine {
    std::size_t number = 0;
    std::string_view text;
};

// Splits text at "\n", dropping a "\r" before it; a final line without "\n" counts too.
std::vector<TextLine> splitLines(std::string_view text);

// A whitespace-separated word of a line and the run of blanks in front of it.
struct TextToken {
    std::string_view text;
    std::size_t blanksBefore = 0;
};

std::vector<TextToken> splitTokens(std::string_view line);

// A run of 1 to 8 hexadecimal digits, nothing else; empty otherwise.
std::optional<std::uint32_t> parseHexNumber(std::string_view digits);

// Up to 40 characters of dump text for an error message, quoted, with control and non-ASCII bytes
// shown as "?" so a binary file passed by mistake cannot garble the terminal.
std::string quoteForMessage(std::string_view text);

// "0x40" for error messages.
std::string hexNumber(std::uint64_t value);

// "line 12: " for error messages.
std::string linePrefix(std::size_t number);

} // namespace solvane::hw
