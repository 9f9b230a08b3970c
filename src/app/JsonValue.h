#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace solvane::app::json {

class Value;

// A list of values in the order they were added.
struct Array {
    std::vector<Value> items;

    Array() = default;
    Array(std::initializer_list<Value> values);
    void append(Value value);
};

// Members in the order they were added; adding a name again replaces its value in place.
struct Object {
    std::vector<std::pair<std::string, Value>> members;

    Object() = default;
    Object(std::initializer_list<std::pair<std::string, Value>> values);
    void insert(std::string name, Value value);
};

// The report's JSON, written by the program itself so that a report process needs no library
// beyond the C++ one. Text is UTF-8; bytes that are not UTF-8 become U+FFFD, so the output is
// always valid JSON whatever a firmware table or a dump holds.
class Value {
public:
    Value() = default; // null
    Value(std::nullptr_t) {}
    Value(bool value) : m_value(value) {}
    Value(int value) : m_value(static_cast<std::int64_t>(value)) {}
    Value(long value) : m_value(static_cast<std::int64_t>(value)) {}
    Value(long long value) : m_value(static_cast<std::int64_t>(value)) {}
    Value(unsigned value) : m_value(static_cast<std::int64_t>(value)) {}
    Value(unsigned long value) : m_value(static_cast<std::int64_t>(value)) {}
    Value(unsigned long long value) : m_value(static_cast<std::int64_t>(value)) {}
    Value(double value) : m_value(value) {}
    Value(std::string value) : m_value(std::move(value)) {}
    Value(std::string_view value) : m_value(std::string(value)) {}
    Value(const char* value) : m_value(std::string(value)) {}
    Value(Array value) : m_value(std::move(value)) {}
    Value(Object value) : m_value(std::move(value)) {}

    // The whole value as indented text (four blanks a level), ending with a line break.
    std::string dump() const;

private:
    void write(std::string& out, int depth) const;

    std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, Array, Object> m_value;
};

// Text as a JSON string literal, quotes included.
std::string quoted(std::string_view text);

} // namespace solvane::app::json
