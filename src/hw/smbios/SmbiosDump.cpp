#include "hw/smbios/SmbiosDump.h"

#include "hw/ByteOrder.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace solvane::hw {

namespace {

// Layout of the three entry points. Each is valid when its bytes sum to zero modulo 256.
namespace ep21 {
constexpr std::string_view kAnchor = "_SM_";
constexpr std::size_t kLengthOffset = 0x05; // byte: entry point length, 0x1F (0x1E on some firmware)
constexpr std::size_t kMajorOffset = 0x06;
constexpr std::size_t kMinorOffset = 0x07;
constexpr std::size_t kIntermediateOffset = 0x10; // the "_DMI_" part, 15 bytes with its own checksum
constexpr std::size_t kMinLength = 0x1E;
constexpr std::size_t kMaxLength = 0x20;
} // namespace ep21

namespace legacy {
constexpr std::string_view kAnchor = "_DMI_";
constexpr std::size_t kSize = 0x0F;
constexpr std::size_t kTableLengthOffset = 0x06;  // 16-bit
constexpr std::size_t kTableAddressOffset = 0x08; // 32-bit
constexpr std::size_t kRevisionOffset = 0x0E;     // BCD: major in the high nibble
} // namespace legacy

namespace ep30 {
constexpr std::string_view kAnchor = "_SM3_";
constexpr std::size_t kLengthOffset = 0x06; // byte: entry point length, 0x18
constexpr std::size_t kMajorOffset = 0x07;
constexpr std::size_t kMinorOffset = 0x08;
constexpr std::size_t kTableMaxSizeOffset = 0x0C; // 32-bit: the table is at most this long
constexpr std::size_t kTableAddressOffset = 0x10; // 64-bit
constexpr std::size_t kMinLength = 0x18;
constexpr std::size_t kMaxLength = 0x20;
} // namespace ep30

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view anchor) {
    return bytes.size() >= anchor.size() &&
           std::equal(anchor.begin(), anchor.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

bool checksumIsZero(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0U) % 256U == 0;
}

// The table at address, cut to what the file holds; empty when the address lies beyond the file.
std::optional<std::span<const std::uint8_t>> tableAt(std::span<const std::uint8_t> file,
                                                     std::uint64_t address, std::uint64_t length) {
    if (address > file.size())
        return std::nullopt;
    const auto start = static_cast<std::size_t>(address);
    const auto available = file.size() - start;
    return file.subspan(start, static_cast<std::size_t>(std::min<std::uint64_t>(length, available)));
}

// The "_DMI_" structure, alone or as the intermediate part of a "_SM_" entry point.
std::optional<SmbiosDump> readLegacy(std::span<const std::uint8_t> file,
                                     std::span<const std::uint8_t> entry) {
    if (entry.size() < legacy::kSize || !startsWith(entry, legacy::kAnchor) ||
        !checksumIsZero(entry.first(legacy::kSize)))
        return std::nullopt;
    const auto table = tableAt(file, readLittleEndian<std::uint32_t>(entry, legacy::kTableAddressOffset),
                               readLittleEndian<std::uint16_t>(entry, legacy::kTableLengthOffset));
    if (!table)
        return std::nullopt;
    const auto revision = entry[legacy::kRevisionOffset];
    return SmbiosDump{.kind = SmbiosDumpKind::LegacyEntryPoint,
                      .table = *table,
                      .majorVersion = static_cast<std::uint8_t>(revision >> 4),
                      .minorVersion = static_cast<std::uint8_t>(revision & 0x0F)};
}

std::optional<SmbiosDump> read21(std::span<const std::uint8_t> file) {
    if (file.size() <= ep21::kLengthOffset)
        return std::nullopt;
    const std::size_t length = file[ep21::kLengthOffset];
    if (length < ep21::kMinLength || length > ep21::kMaxLength ||
        file.size() < ep21::kIntermediateOffset + legacy::kSize || file.size() < length ||
        !checksumIsZero(file.first(length)))
        return std::nullopt;
    auto dump = readLegacy(file, file.subspan(ep21::kIntermediateOffset));
    if (!dump)
        return std::nullopt;
    dump->kind = SmbiosDumpKind::EntryPoint21;
    dump->majorVersion = file[ep21::kMajorOffset];
    dump->minorVersion = file[ep21::kMinorOffset];
    return dump;
}

std::optional<SmbiosDump> read30(std::span<const std::uint8_t> file) {
    if (file.size() <= ep30::kLengthOffset)
        return std::nullopt;
    const std::size_t length = file[ep30::kLengthOffset];
    if (length < ep30::kMinLength || length > ep30::kMaxLength || file.size() < length ||
        !checksumIsZero(file.first(length)))
        return std::nullopt;
    const auto table = tableAt(file, readLittleEndian<std::uint64_t>(file, ep30::kTableAddressOffset),
                               readLittleEndian<std::uint32_t>(file, ep30::kTableMaxSizeOffset));
    if (!table)
        return std::nullopt;
    return SmbiosDump{.kind = SmbiosDumpKind::EntryPoint30,
                      .table = *table,
                      .majorVersion = file[ep30::kMajorOffset],
                      .minorVersion = file[ep30::kMinorOffset]};
}

} // namespace

std::optional<SmbiosDump> readSmbiosDump(std::span<const std::uint8_t> file) {
    if (startsWith(file, ep30::kAnchor))
        return read30(file);
    if (startsWith(file, ep21::kAnchor))
        return read21(file);
    if (startsWith(file, legacy::kAnchor))
        return readLegacy(file, file);
    return SmbiosDump{.kind = SmbiosDumpKind::BareTable, .table = file};
}

} // namespace solvane::hw
