// Text from outside shown in a terminal: controls, bytes that are not UTF-8 and the characters
// that turn the text's direction are escaped; everything else is kept as it is.
#include "app/TextEscape.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

TEST(TextEscape, EscapesWhatATerminalWouldActOnAndKeepsTheRest) {
    const struct {
        std::string_view text;
        std::string_view shown;
    } kCases[] = {
        {"Quiet night", "Quiet night"},
        {"Fr\xC3\xBChling \xE2\x82\xAC", "Fr\xC3\xBChling \xE2\x82\xAC"}, // UTF-8 stays
        {"a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {"\x1B[31mred", "\\x1b[31mred"},
        {"del\x7F", "del\\x7f"},
        {"latin \xE9t\xE9", "latin \\xe9t\\xe9"},                     // not UTF-8
        {"cut \xE2\x82", "cut \\xe2\\x82"},                           // a sequence cut short
        {"safe\xE2\x80\xAEgpj.exe", "safe\\u202egpj.exe"},            // right-to-left override
        {"\xE2\x81\xA6isolate\xE2\x81\xA9", "\\u2066isolate\\u2069"}, // isolates
        {"\xC2\x85next line", "\\u0085next line"},                    // a C1 control
        {"\xF0\x9F\x94\x8B battery", "\xF0\x9F\x94\x8B battery"},     // four bytes
    };
    for (const auto& c : kCases)
        EXPECT_EQ(escapeControls(c.text), c.shown) << c.text;
}

} // namespace
} // namespace solvane::app
