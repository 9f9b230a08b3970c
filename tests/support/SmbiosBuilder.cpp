#include "support/SmbiosBuilder.h"

#include "hw/ByteOrder.h"

#include <numeric>
#include <string_view>

namespace solvane::test {

SmbiosRecord::SmbiosRecord(std::uint8_t type, std::uint8_t length, std::uint16_t handle)
    : m_formatted(length, 0) {
    m_formatted[0] = type;
    m_formatted[1] = length;
    word(2, handle);
}

SmbiosRecord& SmbiosRecord::byte(std::size_t offset, std::uint8_t value) {
    m_formatted.at(offset) = value;
    return *this;
}

SmbiosRecord& SmbiosRecord::word(std::size_t offset, std::uint16_t value) {
    hw::writeLittleEndian(std::span(m_formatted), offset, value);
    return *this;
}

SmbiosRecord& SmbiosRecord::qword(std::size_t offset, std::uint64_t value) {
    hw::writeLittleEndian(std::span(m_formatted), offset, value);
    return *this;
}

SmbiosRecord& SmbiosRecord::string(std::size_t offset, const std::string& text) {
    if (text.empty())
        return byte(offset, 0);
    m_strings.push_back(text);
    return byte(offset, static_cast<std::uint8_t>(m_strings.size()));
}

std::vector<std::uint8_t> SmbiosRecord::bytes() const {
    auto out = m_formatted;
    for (const auto& text : m_strings) {
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0);
    }
    out.push_back(0);
    if (m_strings.empty())
        out.push_back(0);
    return out;
}

SmbiosRecord biosRecord(const SmbiosIdentity& identity, std::uint16_t handle) {
    SmbiosRecord record(0, 0x18, handle);
    record.string(0x04, identity.biosVendor).string(0x05, identity.biosVersion).word(0x06, 0xF000);
    record.string(0x08, identity.biosDate).byte(0x09, 0x3F);
    return record;
}

SmbiosRecord systemRecord(const SmbiosIdentity& identity, std::uint16_t handle) {
    SmbiosRecord record(1, 0x1B, handle);
    record.string(0x04, identity.systemManufacturer).string(0x05, identity.systemProduct).byte(0x18, 6);
    return record;
}

SmbiosRecord baseboardRecord(const SmbiosIdentity& identity, std::uint16_t handle) {
    SmbiosRecord record(2, 0x0F, handle);
    record.string(0x04, identity.baseboardManufacturer).string(0x05, identity.baseboardProduct);
    record.string(0x06, identity.baseboardVersion).string(0x07, identity.baseboardSerial);
    record.byte(0x09, 0x09).byte(0x0D, 0x0A);
    return record;
}

SmbiosRecord processorRecord(const SmbiosIdentity& identity, std::uint16_t handle) {
    SmbiosRecord record(4, 0x2A, handle);
    record.string(0x04, "CPU 1").byte(0x05, 3).byte(0x06, 0xB3).qword(0x08, identity.processorId);
    record.string(0x10, identity.processorVersion).word(0x12, identity.externalClock);
    record.byte(0x18, identity.socketPopulated ? 0x41 : 0x00);
    return record;
}

SmbiosRecord endOfTableRecord(std::uint16_t handle) {
    return SmbiosRecord(127, 4, handle);
}

std::vector<std::uint8_t> tableOf(const std::vector<SmbiosRecord>& records) {
    std::vector<std::uint8_t> table;
    for (const auto& record : records) {
        const auto bytes = record.bytes();
        table.insert(table.end(), bytes.begin(), bytes.end());
    }
    return table;
}

std::vector<std::uint8_t> identityTable(const SmbiosIdentity& identity) {
    return tableOf({biosRecord(identity), systemRecord(identity), baseboardRecord(identity),
                    processorRecord(identity), endOfTableRecord()});
}

namespace {

constexpr std::size_t kDumpTableOffset = 0x20;

void fixChecksum(std::vector<std::uint8_t>& bytes, std::size_t first, std::size_t size,
                 std::size_t checksumAt) {
    bytes[checksumAt] = 0;
    const auto sum = std::accumulate(bytes.begin() + static_cast<std::ptrdiff_t>(first),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(first + size), 0U);
    bytes[checksumAt] = static_cast<std::uint8_t>((256U - sum % 256U) % 256U);
}

void putAnchor(std::vector<std::uint8_t>& bytes, std::size_t offset, std::string_view anchor) {
    std::copy(anchor.begin(), anchor.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::vector<std::uint8_t> withTable(std::vector<std::uint8_t> head, const std::vector<std::uint8_t>& table) {
    head.resize(kDumpTableOffset, 0);
    head.insert(head.end(), table.begin(), table.end());
    return head;
}

// The "_DMI_" part: table length, address and count at offsets 6, 8 and 12 of its 15 bytes.
void putLegacy(std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t tableSize) {
    putAnchor(bytes, at, "_DMI_");
    hw::writeLittleEndian(std::span(bytes), at + 0x06, static_cast<std::uint16_t>(tableSize));
    hw::writeLittleEndian(std::span(bytes), at + 0x08, static_cast<std::uint32_t>(kDumpTableOffset));
    hw::writeLittleEndian(std::span(bytes), at + 0x0C, std::uint16_t{5});
    bytes[at + 0x0E] = 0x26;
    fixChecksum(bytes, at, 0x0F, at + 0x05);
}

} // namespace

std::vector<std::uint8_t> dumpWith21EntryPoint(const std::vector<std::uint8_t>& table) {
    std::vector<std::uint8_t> head(kDumpTableOffset, 0);
    putAnchor(head, 0, "_SM_");
    head[0x05] = 0x1F;
    head[0x06] = 2;
    head[0x07] = 6;
    putLegacy(head, 0x10, table.size());
    fixChecksum(head, 0, 0x1F, 0x04);
    return withTable(head, table);
}

std::vector<std::uint8_t> dumpWith30EntryPoint(const std::vector<std::uint8_t>& table) {
    std::vector<std::uint8_t> head(kDumpTableOffset, 0);
    putAnchor(head, 0, "_SM3_");
    head[0x06] = 0x18;
    head[0x07] = 3;
    head[0x08] = 3;
    head[0x0A] = 1;
    hw::writeLittleEndian(std::span(head), 0x0C, static_cast<std::uint32_t>(table.size()));
    hw::writeLittleEndian(std::span(head), 0x10, static_cast<std::uint64_t>(kDumpTableOffset));
    fixChecksum(head, 0, 0x18, 0x05);
    return withTable(head, table);
}

std::vector<std::uint8_t> dumpWithLegacyEntryPoint(const std::vector<std::uint8_t>& table) {
    std::vector<std::uint8_t> head(kDumpTableOffset, 0);
    putLegacy(head, 0, table.size());
    return withTable(head, table);
}

} // namespace solvane::test
