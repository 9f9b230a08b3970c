// Feeds arbitrary bytes to the SMBIOS decoder and the board identification: as a dump file (entry
// point or bare table), as a table straight from the firmware library, and through the library
// calls themselves. Every structure's fields and strings are read; nothing may read outside the
// bytes given.

#include "hw/HardwareLibraries.h"
#include "hw/smbios/SmbiosDump.h"
#include "hw/smbios/SmbiosTableReader.h"
#include "power/IdentifyPlatform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace solvane;

// The firmware library over the fuzzer's bytes.
class BytesFirmware final : public hw::Ostrel {
public:
    explicit BytesFirmware(const std::vector<std::uint8_t>& table) : m_table(table) {}

    std::uint8_t Get_EFERs(std::uint16_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) override {
        return 0xFF;
    }
    std::uint8_t GetCmosAddressByte(std::uint8_t, std::uint16_t) override { return 0; }
    void WriteCmosAddressByte(std::uint8_t, std::uint8_t, std::uint16_t) override {}
    void FanControl(std::uint8_t, std::uint8_t, int) override {}
    std::uint32_t GetDMILength(std::uint32_t* length) override {
        const auto size = static_cast<std::uint32_t>(m_table.size());
        if (length != nullptr)
            *length = size;
        return size;
    }
    bool GetDMIData(std::uint8_t* buffer, std::uint32_t size) override {
        std::copy_n(m_table.begin(), std::min<std::size_t>(size, m_table.size()), buffer);
        return true;
    }

private:
    const std::vector<std::uint8_t>& m_table;
};

// Touches every field and string of every structure, so that a view pointing outside the buffer
// is dereferenced where the address sanitizer sees it.
std::size_t walk(std::span<const std::uint8_t> table) {
    std::size_t sum = 0;
    hw::SmbiosTableReader reader(table);
    while (const auto structure = reader.next()) {
        for (std::size_t offset = 0; offset <= structure->length(); ++offset) {
            sum += structure->byteAt(offset).value_or(0);
            sum += structure->qwordAt(offset).value_or(0) & 1U;
            if (const auto text = structure->stringAt(offset))
                for (const char c : *text)
                    sum += static_cast<unsigned char>(c);
        }
        for (const auto byte : structure->strings())
            sum += byte;
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size: a read one byte past it is a heap overflow.
    const std::vector<std::uint8_t> bytes(data, data + size);

    volatile std::size_t sink = walk(bytes);
    if (const auto dump = hw::readSmbiosDump(bytes)) {
        sink = sink + walk(dump->table);
        power::PlatformInfo fromDump;
        power::identifyFromSmbiosTable(dump->table, fromDump);
        sink = sink + fromDump.BoardString.size() + static_cast<std::size_t>(fromDump.BoardCode);
    }

    BytesFirmware firmware(bytes);
    power::PlatformInfo platform;
    power::IdentifyPlatform(firmware, platform);
    sink =
        sink + platform.BoardString.size() + platform.processorId.size() + platform.BoardModelPrefix.size();
    (void)sink;
    return 0;
}
