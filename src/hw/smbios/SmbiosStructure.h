#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace solvane::hw {

// One structure of an SMBIOS table: the formatted area (type, length and handle first) and the
// string set that follows it. Both views point into the table the structure was read from, and
// every accessor stays inside them: a field or string the structure does not have reads as empty.
class SmbiosStructure {
public:
    // Offsets of the header every structure starts with.
    static constexpr std::size_t kTypeOffset = 0;
    static constexpr std::size_t kLengthOffset = 1;
    static constexpr std::size_t kHandleOffset = 2;
    static constexpr std::size_t kHeaderSize = 4;

    // formatted holds at least the header; strings runs up to and including the zero that ends the
    // last string, and is empty for a structure without strings.
    SmbiosStructure(std::span<const std::uint8_t> formatted, std::span<const std::uint8_t> strings);

    std::uint8_t type() const { return m_formatted[kTypeOffset]; }
    // Length of the formatted area in bytes, header included.
    std::size_t length() const { return m_formatted.size(); }
    std::uint16_t handle() const;

    std::span<const std::uint8_t> formatted() const { return m_formatted; }
    std::span<const std::uint8_t> strings() const { return m_strings; }

    // Little-endian fields of the formatted area; empty when the field does not fit in it.
    std::optional<std::uint8_t> byteAt(std::size_t offset) const;
    std::optional<std::uint16_t> wordAt(std::size_t offset) const;
    std::optional<std::uint32_t> dwordAt(std::size_t offset) const;
    std::optional<std::uint64_t> qwordAt(std::size_t offset) const;

    // String number index, counted from 1. Empty for 0 (the firmware's "not specified") and for a
    // number beyond the strings the structure carries; an empty string ends the set early, as it
    // can only be the set's own terminator.
    std::optional<std::string_view> string(std::uint8_t index) const;
    // The string whose number is stored in the byte at offset of the formatted area.
    std::optional<std::string_view> stringAt(std::size_t offset) const;

private:
    bool fits(std::size_t offset, std::size_t size) const;

    std::span<const std::uint8_t> m_formatted;
    std::span<const std::uint8_t> m_strings;
};

} // namespace solvane::hw
