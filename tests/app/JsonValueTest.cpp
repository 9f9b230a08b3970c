#include "app/JsonValue.h"

#include <gtest/gtest.h>

#include <limits>

namespace solvane::app::json {
namespace {

TEST(JsonValue, WritesNestedValuesIndentedInTheOrderTheyWereAdded) {
    Object root{{"zeta", 1}, {"alpha", Array{true, nullptr, "x"}}};
    root.insert("empty", Object{});
    root.insert("none", Array{});
    root.insert("zeta", 2.5); // a name added again keeps its place
    EXPECT_EQ(Value(root).dump(), "{\n"
                                  "    \"zeta\": 2.5,\n"
                                  "    \"alpha\": [\n"
                                  "        true,\n"
                                  "        null,\n"
                                  "        \"x\"\n"
                                  "    ],\n"
                                  "    \"empty\": {},\n"
                                  "    \"none\": []\n"
                                  "}\n");
}

TEST(JsonValue, NumbersRoundTripAndNonFiniteOnesBecomeNull) {
    EXPECT_EQ(Value(38.512276150293005).dump(), "38.512276150293005\n");
    EXPECT_EQ(Value(2.0).dump(), "2\n");
    EXPECT_EQ(Value(-7).dump(), "-7\n");
    EXPECT_EQ(Value(4294967295U).dump(), "4294967295\n");
    EXPECT_EQ(Value(std::numeric_limits<double>::quiet_NaN()).dump(), "null\n");
    EXPECT_EQ(Value(std::numeric_limits<double>::infinity()).dump(), "null\n");
}

TEST(JsonValue, TextIsEscapedAndAlwaysValidUtf8) {
    EXPECT_EQ(quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(quoted("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
    // An escape sequence from a crafted firmware string cannot reach a terminal raw.
    EXPECT_EQ(quoted("\x1b[2J\x7f"), "\"\\u001b[2J\\u007f\"");
    EXPECT_EQ(quoted(std::string_view("\0", 1)), "\"\\u0000\"");
    // Well-formed UTF-8 passes; stray, overlong, surrogate and cut-off bytes become U+FFFD.
    EXPECT_EQ(quoted("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"");
    EXPECT_EQ(quoted("\xFF"), "\"\xEF\xBF\xBD\"");
    EXPECT_EQ(quoted("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(quoted("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(quoted("a\xE2\x82"), "\"a\xEF\xBF\xBD\xEF\xBF\xBD\"");
}

} // namespace
} // namespace solvane::app::json
