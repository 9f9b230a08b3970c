#pragma once

#include "hw/smbios/SmbiosStructure.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace solvane::hw {

// Why a walk over an SMBIOS table ended.
enum class SmbiosTableEnd {
    None,                // still walking
    EndOfTable,          // the end-of-table structure (type 127) was read
    EndOfData,           // the bytes ran out between structures (fewer than a header left)
    BadLength,           // a formatted-area length below the 4-byte header, such as 0
    LengthPastEnd,       // a formatted area running past the end of the table
    UnterminatedStrings, // a string set without its closing double zero
};

// Walks the structure table as firmware lays it out: each structure's formatted area, then its
// strings, each ended by a zero, the set closed by one more zero (two zeros when there are no
// strings). A malformed structure ends the walk and is not returned; nothing outside the table is
// ever read.
class SmbiosTableReader {
public:
    static constexpr std::uint8_t kEndOfTableType = 127;

    explicit SmbiosTableReader(std::span<const std::uint8_t> table) : m_table(table) {}

    // The next structure, or empty once the walk has ended (see end()). The end-of-table structure
    // itself is returned before the walk ends.
    std::optional<SmbiosStructure> next();

    SmbiosTableEnd end() const { return m_end; }
    // Bytes of the table consumed by the structures returned so far.
    std::size_t offset() const { return m_offset; }

private:
    std::span<const std::uint8_t> m_table;
    std::size_t m_offset = 0;
    SmbiosTableEnd m_end = SmbiosTableEnd::None;
};

} // namespace solvane::hw
