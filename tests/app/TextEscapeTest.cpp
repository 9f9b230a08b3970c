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
        {"gap \xE2\x41\x82", "gap \\xe2A\\x82"},                      // broken after its lead
        {"gap \xF0\x9F\x41\x8B", "gap \\xf0\\x9fA\\x8b"},             // and after its second byte
        {"safe\xE2\x80\xAEgpj.exe", "safe\\u202egpj.exe"},            // right-to-left override
        {"\xE2\x81\xA6isolate\xE2\x81\xA9", "\\u2066isolate\\u2069"}, // isolates
        {"\xC2\x85next line", "\\u0085next line"},                    // a C1 control
        {"\xF0\x9F\x94\x8B battery", "\xF0\x9F\x94\x8B battery"},     // four bytes
    };
    for (const auto& c : kCases)
        EXPECT_EQ(escapeControls(c.text), c.shown) << c.text;
}

// Each end of each UTF-8 length and of each escaped range, and every character that turns the
// text's direction beside its neighbours that do not.
TEST(TextEscape, KeepsValidTextUpToEachEdgeAndEscapesPastIt) {
    const std::pair<std::string_view, std::string_view> kCases[] = {
        {" ", " "},                                   // U+0020 kept
        {"~", "~"},                                   // U+007E kept
        {"\xC2\xA0", "\xC2\xA0"},                     // U+00A0 kept
        {"\xDF\xBF", "\xDF\xBF"},                     // U+07FF kept
        {"\xE0\xA0\x80", "\xE0\xA0\x80"},             // U+0800 kept
        {"\xED\x9F\xBF", "\xED\x9F\xBF"},             // U+D7FF kept
        {"\xEE\x80\x80", "\xEE\x80\x80"},             // U+E000 kept
        {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},             // U+FFFD kept
        {"\xF0\x90\x80\x80", "\xF0\x90\x80\x80"},     // U+10000 kept
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},     // U+10FFFF kept
        {"\xD8\x9B", "\xD8\x9B"},                     // U+061B kept
        {"\xD8\x9D", "\xD8\x9D"},                     // U+061D kept
        {"\xE2\x80\x8D", "\xE2\x80\x8D"},             // U+200D kept
        {"\xE2\x80\x90", "\xE2\x80\x90"},             // U+2010 kept
        {"\xE2\x80\xAF", "\xE2\x80\xAF"},             // U+202F kept
        {"\xE2\x81\xA5", "\xE2\x81\xA5"},             // U+2065 kept
        {"\xE2\x81\xAA", "\xE2\x81\xAA"},             // U+206A kept
        {"\x1F", "\\x1f"},                            // U+001F escaped
        {"\x7F", "\\x7f"},                            // U+007F escaped
        {"\xC2\x80", "\\u0080"},                      // U+0080 escaped
        {"\xC2\x9F", "\\u009f"},                      // U+009F escaped
        {"\xD8\x9C", "\\u061c"},                      // U+061C escaped
        {"\xE2\x80\x8E", "\\u200e"},                  // U+200E escaped
        {"\xE2\x80\x8F", "\\u200f"},                  // U+200F escaped
        {"\xE2\x80\xAA", "\\u202a"},                  // U+202A escaped
        {"\xE2\x80\xAB", "\\u202b"},                  // U+202B escaped
        {"\xE2\x80\xAC", "\\u202c"},                  // U+202C escaped
        {"\xE2\x80\xAD", "\\u202d"},                  // U+202D escaped
        {"\xE2\x80\xAE", "\\u202e"},                  // U+202E escaped
        {"\xE2\x81\xA6", "\\u2066"},                  // U+2066 escaped
        {"\xE2\x81\xA7", "\\u2067"},                  // U+2067 escaped
        {"\xE2\x81\xA8", "\\u2068"},                  // U+2068 escaped
        {"\xE2\x81\xA9", "\\u2069"},                  // U+2069 escaped
        {"\xC1\xBF", "\\xc1\\xbf"},                   // not UTF-8
        {"\xE0\x9F\xBF", "\\xe0\\x9f\\xbf"},          // not UTF-8
        {"\xED\xA0\x80", "\\xed\\xa0\\x80"},          // not UTF-8
        {"\xF0\x8F\xBF\xBF", "\\xf0\\x8f\\xbf\\xbf"}, // not UTF-8
        {"\xF4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // not UTF-8
        {"\xF5\x80\x80\x80", "\\xf5\\x80\\x80\\x80"}, // not UTF-8
    };
    for (const auto& [text, shown] : kCases)
        EXPECT_EQ(escapeControls(text), shown) << shown;
}

} // namespace
} // namespace solvane::app
