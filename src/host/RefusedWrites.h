#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace solvane::host {

// The kinds of hardware writes the read-only host back-end refuses.
enum class WriteKind : std::size_t {
    Smbus,       // Smbus_JRW and Smbus_ByteRW with an even (write) address
    IoPort,      // BaseByte_RW with the write flag
    Pci,         // PCI_RW with the write flag
    SuperIo,     // Get_EFERs with the write flag
    Cmos,        // WriteCmosAddressByte
    Fan,         // FanControl
    PowerSaving, // SetPowerMode, CPU_THROTTLING, EnableSATA, DisableSATA of the power-saving library
};

inline constexpr std::size_t kWriteKinds = static_cast<std::size_t>(WriteKind::PowerSaving) + 1;

// Counts the writes the host back-end refused instead of performing them.
class RefusedWrites {
public:
    void refuse(WriteKind kind) { ++m_counts[static_cast<std::size_t>(kind)]; }
    std::uint64_t count(WriteKind kind) const { return m_counts[static_cast<std::size_t>(kind)]; }
    std::uint64_t total() const;

private:
    std::array<std::uint64_t, kWriteKinds> m_counts{};
};

} // namespace solvane::host
