#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace solvane::app {

// The length of the well-formed UTF-8 sequence at the start of text, or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view text);

// Text from outside (firmware tables, dumps, profile names) made safe for a terminal: control
// characters as \n, \t, \r or \xNN, bytes that are not UTF-8 as \xNN, and the characters that
// reorder what follows them (bidirectional controls such as U+202E) as \uXXXX.
std::string escapeControls(std::string_view text);

} // namespace solvane::app
