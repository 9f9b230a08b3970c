#include "hw/smbios/SmbiosStructure.h"

#include "hw/ByteOrder.h"

#include <algorithm>

namespace solvane::hw {

SmbiosStructure::SmbiosStructure(std::span<const std::uint8_t> formatted,
                                 std::span<const std::uint8_t> strings)
    : m_formatted(formatted), m_strings(strings) {}

std::uint16_t SmbiosStructure::handle() const {
    return readLittleEndian<std::uint16_t>(m_formatted, kHandleOffset);
}

bool SmbiosStructure::fits(std::size_t offset, std::size_t size) const {
    return offset <= m_formatted.size() && size <= m_formatted.size() - offset;
}

std::optional<std::uint8_t> SmbiosStructure::byteAt(std::size_t offset) const {
    if (!fits(offset, 1))
        return std::nullopt;
    return m_formatted[offset];
}

std::optional<std::uint16_t> SmbiosStructure::wordAt(std::size_t offset) const {
    if (!fits(offset, 2))
        return std::nullopt;
    return readLittleEndian<std::uint16_t>(m_formatted, offset);
}

std::optional<std::uint32_t> SmbiosStructure::dwordAt(std::size_t offset) const {
    if (!fits(offset, 4))
        return std::nullopt;
    return readLittleEndian<std::uint32_t>(m_formatted, offset);
}

std::optional<std::uint64_t> SmbiosStructure::qwordAt(std::size_t offset) const {
    if (!fits(offset, 8))
        return std::nullopt;
    return readLittleEndian<std::uint64_t>(m_formatted, offset);
}

std::optional<std::string_view> SmbiosStructure::string(std::uint8_t index) const {
    if (index == 0)
        return std::nullopt;
    auto rest = m_strings;
    for (std::uint8_t number = 1;; ++number) {
        const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        const auto size = static_cast<std::size_t>(end - rest.begin());
        if (size == 0)
            return std::nullopt;
        if (number == index)
            return std::string_view(reinterpret_cast<const char*>(rest.data()), size);
        if (end == rest.end())
            return std::nullopt;
        rest = rest.subspan(size + 1);
    }
}

std::optional<std::string_view> SmbiosStructure::stringAt(std::size_t offset) const {
    const auto index = byteAt(offset);
    if (!index)
        return std::nullopt;
    return string(*index);
}

} // namespace solvane::hw
