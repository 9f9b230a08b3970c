#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace solvane::hw {

// Little-endian fields of request buffers and firmware tables.
template <class T> T readLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset) {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<T>(value | static_cast<T>(static_cast<T>(bytes[offset + i]) << (8 * i)));
    return value;
}

template <class T> void writeLittleEndian(std::span<std::uint8_t> bytes, std::size_t offset, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
}

} // namespace solvane::hw
