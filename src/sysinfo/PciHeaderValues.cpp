#include "sysinfo/PciHeaderValues.h"

#include <cstdio>

namespace solvane::sysinfo {

namespace {

// Where each header value sits: the configuration-space offset of its lowest byte, its size in
// bytes, and the printf format the page shows it in. Indexed by PciHeaderValue.
struct HeaderField {
    std::size_t offset;
    std::size_t bytes;
    const char* format;
};
constexpr std::array<HeaderField, kPciHeaderValueCount> kHeaderFields{{
    {0x00, 2, "0x%.4X"}, // vendor ID
    {0x02, 2, "0x%.4X"}, // device ID
    {0x08, 1, "0x%.2X"}, // revision ID
    {0x09, 3, "0x%.6X"}, // class code: programming interface, sub-class, base class
    {0x0D, 1, "0x%.2X"}, // latency timer
    {0x2C, 2, "0x%.4X"}, // subsystem vendor ID
    {0x2E, 2, "0x%.4X"}, // subsystem ID
    {0x3C, 1, "0x%.2X"}, // interrupt line
    {0x3D, 1, "0x%.2X"}, // interrupt pin
}};

} // namespace

PciHeaderTexts pciHeaderTexts(const PciRegisters& registers) {
    PciHeaderTexts texts;
    for (std::size_t index = 0; index < kHeaderFields.size(); ++index) {
        const auto& field = kHeaderFields[index];
        unsigned value = 0;
        for (std::size_t byte = field.bytes; byte-- > 0;)
            value = value << 8 | pciConfigByte(registers, field.offset + byte);
        char text[16];
        std::snprintf(text, sizeof text, field.format, value);
        texts[index] = text;
    }
    return texts;
}

} // namespace solvane::sysinfo
