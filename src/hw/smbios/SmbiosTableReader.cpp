#include "hw/smbios/SmbiosTableReader.h"

namespace solvane::hw {

std::optional<SmbiosStructure> SmbiosTableReader::next() {
    if (m_end != SmbiosTableEnd::None)
        return std::nullopt;
    const auto rest = m_table.subspan(m_offset);
    if (rest.size() < SmbiosStructure::kHeaderSize) {
        m_end = SmbiosTableEnd::EndOfData;
        return std::nullopt;
    }
    const std::size_t length = rest[SmbiosStructure::kLengthOffset];
    if (length < SmbiosStructure::kHeaderSize) {
        m_end = SmbiosTableEnd::BadLength;
        return std::nullopt;
    }
    if (length > rest.size()) {
        m_end = SmbiosTableEnd::LengthPastEnd;
        return std::nullopt;
    }

    // The string set ends at the first pair of zero bytes after the formatted area.
    const auto tail = rest.subspan(length);
    std::size_t pair = 0;
    while (pair + 1 < tail.size() && (tail[pair] != 0 || tail[pair + 1] != 0))
        ++pair;
    if (pair + 1 >= tail.size()) {
        m_end = SmbiosTableEnd::UnterminatedStrings;
        return std::nullopt;
    }

    // With strings, the set keeps the zero ending the last one; without, it is empty.
    const auto strings = pair == 0 ? tail.first(0) : tail.first(pair + 1);
    SmbiosStructure structure(rest.first(length), strings);
    m_offset += length + pair + 2;
    if (structure.type() == kEndOfTableType)
        m_end = SmbiosTableEnd::EndOfTable;
    return structure;
}

} // namespace solvane::hw
