#pragma once

#include <optional>
#include <string>
#include <utility>

namespace solvane::hw {

// What a replay parser gives back: the parsed value, or a message for people saying what is wrong
// with the dump and where.
template <class Value> class ReplayResult {
public:
    ReplayResult(Value value) : m_value(std::move(value)) {}

    static ReplayResult failure(std::string message) {
        ReplayResult result;
        result.m_error = std::move(message);
        return result;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const Value& value() const& { return *m_value; }
    Value&& value() && { return std::move(*m_value); }
    // Empty when ok().
    const std::string& error() const { return m_error; }

private:
    ReplayResult() = default;

    std::optional<Value> m_value;
    std::string m_error;
};

} // namespace solvane::hw
