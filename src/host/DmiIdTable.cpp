#include "host/DmiIdTable.h"

#include "host/SysfsFile.h"

#include <array>
#include <string>
#include <string_view>

namespace solvane::host {

namespace {

// One string field of a structure: its offset and the dmi/id attribute that holds it.
struct StringField {
    std::uint8_t offset;
    std::string_view attribute;
};

// A structure the identification reads: its type, formatted length and string fields.
struct StructureLayout {
    std::uint8_t type;
    std::uint8_t length;
    std::array<StringField, 4> strings; // unused rows have an empty attribute
};

constexpr std::array<StructureLayout, 3> kFirmwareStructures{{
    {0, 0x12, {{{0x04, "bios_vendor"}, {0x05, "bios_version"}, {0x08, "bios_date"}, {}}}},
    {1,
     0x08,
     {{{0x04, "sys_vendor"}, {0x05, "product_name"}, {0x06, "product_version"}, {0x07, "product_serial"}}}},
    {2,
     0x08,
     {{{0x04, "board_vendor"}, {0x05, "board_name"}, {0x06, "board_version"}, {0x07, "board_serial"}}}},
}};

// The processor record up to its voltage byte: socket, type, family, manufacturer, ID, version.
constexpr std::uint8_t kProcessorType = 4;
constexpr std::uint8_t kProcessorLength = 0x12;
constexpr std::uint8_t kProcessorManufacturer = 0x07;
constexpr std::uint8_t kProcessorId = 0x08;
constexpr std::uint8_t kProcessorVersion = 0x10;
constexpr std::uint8_t kCentralProcessor = 3; // processor type
constexpr std::uint8_t kFamilyFromElsewhere = 0xFE;
constexpr std::uint8_t kEndOfTable = 127;
constexpr std::uint8_t kHeaderLength = 4;

// One structure being built: its formatted area and its strings.
class Structure {
public:
    Structure(std::uint8_t type, std::uint8_t length, std::uint16_t handle) : m_formatted(length, 0) {
        m_formatted[0] = type;
        m_formatted[1] = length;
        m_formatted[2] = static_cast<std::uint8_t>(handle & 0xFF);
        m_formatted[3] = static_cast<std::uint8_t>(handle >> 8);
    }
    void byte(std::uint8_t offset, std::uint8_t value) { m_formatted[offset] = value; }
    // Adds a string and points the field at it; an empty text leaves the field at "no string".
    void string(std::uint8_t offset, const std::string& text) {
        if (text.empty())
            return;
        m_strings.push_back(text);
        byte(offset, static_cast<std::uint8_t>(m_strings.size()));
    }
    // The structure as the table holds it: the formatted area, each string with its NUL, and the
    // NUL that ends the set (two NULs for a structure without strings).
    void appendTo(std::vector<std::uint8_t>& table) const {
        table.insert(table.end(), m_formatted.begin(), m_formatted.end());
        for (const auto& text : m_strings) {
            table.insert(table.end(), text.begin(), text.end());
            table.push_back(0);
        }
        if (m_strings.empty())
            table.push_back(0);
        table.push_back(0);
    }

private:
    std::vector<std::uint8_t> m_formatted;
    std::vector<std::string> m_strings;
};

// The name firmware gives a processor maker, from the vendor the processor reports.
std::string processorMaker(std::string_view vendor) {
    if (vendor == "GenuineIntel")
        return "Intel";
    if (vendor == "AuthenticAMD")
        return "AMD";
    return std::string(vendor);
}

} // namespace

std::vector<std::uint8_t> smbiosTableFromDmiId(const std::filesystem::path& dmiIdFolder, const CpuInfo& cpu) {
    std::vector<std::uint8_t> table;
    bool anyAttribute = false;
    std::uint16_t handle = 0;
    for (const auto& layout : kFirmwareStructures) {
        Structure structure(layout.type, layout.length, handle++);
        for (const auto& field : layout.strings) {
            if (field.attribute.empty())
                continue;
            const auto text = readSysfsText(dmiIdFolder / field.attribute);
            anyAttribute = anyAttribute || text.has_value();
            structure.string(field.offset, text.value_or(std::string()));
        }
        structure.appendTo(table);
    }
    if (!anyAttribute)
        return {};
    if (cpu.processors != 0) {
        Structure processor(kProcessorType, kProcessorLength, handle++);
        processor.byte(0x05, kCentralProcessor);
        processor.byte(0x06, kFamilyFromElsewhere);
        processor.string(kProcessorManufacturer, processorMaker(cpu.vendor));
        if (const auto signature = cpu.signature()) {
            const std::uint64_t id = static_cast<std::uint64_t>(cpu.features) << 32 | *signature;
            for (std::uint8_t i = 0; i < 8; ++i)
                processor.byte(static_cast<std::uint8_t>(kProcessorId + i),
                               static_cast<std::uint8_t>(id >> (8 * i)));
        }
        processor.string(kProcessorVersion, cpu.modelName);
        processor.appendTo(table);
    }
    Structure(kEndOfTable, kHeaderLength, handle).appendTo(table);
    return table;
}

} // namespace solvane::host
