#include "app/JsonValue.h"

#include "app/TextEscape.h"

#include <array>
#include <charconv>
#include <cmath>

namespace solvane::app::json {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

void indent(std::string& out, int depth) {
    out.append(static_cast<std::size_t>(depth) * 4, ' ');
}

} // namespace

Array::Array(std::initializer_list<Value> values) : items(values) {}

void Array::append(Value value) {
    items.push_back(std::move(value));
}

Object::Object(std::initializer_list<std::pair<std::string, Value>> values) {
    for (const auto& [name, value] : values)
        insert(name, value);
}

void Object::insert(std::string name, Value value) {
    for (auto& member : members)
        if (member.first == name) {
            member.second = std::move(value);
            return;
        }
    members.emplace_back(std::move(name), std::move(value));
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                constexpr std::string_view kHex = "0123456789abcdef";
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0x0F];
            } else if (const auto length = utf8SequenceLength(text.substr(i)); length == 0) {
                out += kReplacementCharacter;
            } else {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

std::string Value::dump() const {
    std::string out;
    write(out, 0);
    out += '\n';
    return out;
}

void Value::write(std::string& out, int depth) const {
    if (std::holds_alternative<std::nullptr_t>(m_value)) {
        out += "null";
    } else if (const auto* flag = std::get_if<bool>(&m_value)) {
        out += *flag ? "true" : "false";
    } else if (const auto* integer = std::get_if<std::int64_t>(&m_value)) {
        out += std::to_string(*integer);
    } else if (const auto* number = std::get_if<double>(&m_value)) {
        if (!std::isfinite(*number)) {
            out += "null"; // JSON has no infinity or NaN
            return;
        }
        std::array<char, 32> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *number);
        out.append(buffer.data(), result.ptr);
    } else if (const auto* text = std::get_if<std::string>(&m_value)) {
        out += quoted(*text);
    } else if (const auto* array = std::get_if<Array>(&m_value)) {
        if (array->items.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < array->items.size(); ++i) {
            indent(out, depth + 1);
            array->items[i].write(out, depth + 1);
            out += i + 1 < array->items.size() ? ",\n" : "\n";
        }
        indent(out, depth);
        out += ']';
    } else if (const auto* object = std::get_if<Object>(&m_value)) {
        if (object->members.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        for (std::size_t i = 0; i < object->members.size(); ++i) {
            indent(out, depth + 1);
            out += quoted(object->members[i].first);
            out += ": ";
            object->members[i].second.write(out, depth + 1);
            out += i + 1 < object->members.size() ? ",\n" : "\n";
        }
        indent(out, depth);
        out += '}';
    }
}

} // namespace solvane::app::json
