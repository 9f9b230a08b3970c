#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace solvane::test {

// One SMBIOS structure under construction: a formatted area of a given length (header filled in)
// and its strings, numbered from 1 in the order they are added.
class SmbiosRecord {
public:
    SmbiosRecord(std::uint8_t type, std::uint8_t length, std::uint16_t handle);

    SmbiosRecord& byte(std::size_t offset, std::uint8_t value);
    SmbiosRecord& word(std::size_t offset, std::uint16_t value);
    SmbiosRecord& qword(std::size_t offset, std::uint64_t value);
    // Adds text as the next string and stores its number at offset; an empty text stores 0.
    SmbiosRecord& string(std::size_t offset, const std::string& text);

    // The formatted area, the strings each with its zero, and the closing zero (two zeros when
    // there are no strings).
    std::vector<std::uint8_t> bytes() const;

private:
    std::vector<std::uint8_t> m_formatted;
    std::vector<std::string> m_strings;
};

// The identity structures of a board, as firmware lays them out.
struct SmbiosIdentity {
    std::string biosVendor = "Tarvok BIOS Works";
    std::string biosVersion = "V1.4";
    std::string biosDate = "06/15/2009";
    std::string systemManufacturer = "Tarvok";
    std::string systemProduct = "System Product Name";
    std::string baseboardManufacturer = "Tarvok";
    std::string baseboardProduct;
    std::string baseboardVersion = "1.0";
    std::string baseboardSerial = "TV0123456789";
    std::string processorVersion = "Intel(R) Core(TM) i7 CPU 920 @ 2.67GHz";
    std::uint64_t processorId = 0xBFEBFBFF000106A4ULL;
    std::uint16_t externalClock = 133;
    bool socketPopulated = true;
};

SmbiosRecord biosRecord(const SmbiosIdentity& identity, std::uint16_t handle = 0);
SmbiosRecord systemRecord(const SmbiosIdentity& identity, std::uint16_t handle = 1);
SmbiosRecord baseboardRecord(const SmbiosIdentity& identity, std::uint16_t handle = 2);
SmbiosRecord processorRecord(const SmbiosIdentity& identity, std::uint16_t handle = 4);
SmbiosRecord endOfTableRecord(std::uint16_t handle = 0xFEFF);

std::vector<std::uint8_t> tableOf(const std::vector<SmbiosRecord>& records);
// BIOS, system, baseboard, processor and the end of the table.
std::vector<std::uint8_t> identityTable(const SmbiosIdentity& identity);

// A dump file as `dmidecode --dump-bin` writes it: the entry point at offset 0 (with a correct
// checksum) and the table at offset 0x20.
std::vector<std::uint8_t> dumpWith21EntryPoint(const std::vector<std::uint8_t>& table);
std::vector<std::uint8_t> dumpWith30EntryPoint(const std::vector<std::uint8_t>& table);
std::vector<std::uint8_t> dumpWithLegacyEntryPoint(const std::vector<std::uint8_t>& table);

} // namespace solvane::test
