#include "sysinfo/PciHexView.h"

#include <cstdio>

namespace solvane::sysinfo {

namespace {

constexpr std::size_t kRegistersPerRow = 4;
constexpr std::size_t kBytesPerRow = 16;

std::size_t bytesPerColumn(PciHexWidth width) {
    switch (width) {
    case PciHexWidth::Word:
        return 2;
    case PciHexWidth::Dword:
        return 4;
    case PciHexWidth::Byte:
        break;
    }
    return 1;
}

void appendRegister(std::string& row, std::uint32_t value, PciHexWidth width) {
    char text[16];
    switch (width) {
    case PciHexWidth::Byte:
        std::snprintf(text, sizeof text, "%.2X %.2X %.2X %.2X ", value & 0xFF, value >> 8 & 0xFF,
                      value >> 16 & 0xFF, value >> 24);
        break;
    case PciHexWidth::Word:
        std::snprintf(text, sizeof text, "%.4X %.4X ", value & 0xFFFF, value >> 16);
        break;
    case PciHexWidth::Dword:
        std::snprintf(text, sizeof text, "%.8X ", value);
        break;
    }
    row += text;
}

} // namespace

PciHexRows pciHexRows(const PciRegisters& registers, PciHexWidth width) {
    PciHexRows rows;
    for (std::size_t row = 0; row < kPciHexRows; ++row)
        for (std::size_t column = 0; column < kRegistersPerRow; ++column)
            appendRegister(rows[row], registers[row * kRegistersPerRow + column], width);
    return rows;
}

std::string pciHexColumnHeading(PciHexWidth width) {
    const std::size_t step = bytesPerColumn(width);
    // A column is two digits per byte and one blank.
    const std::size_t columnWidth = 2 * step + 1;
    std::string heading;
    for (std::size_t offset = 0; offset < kBytesPerRow; offset += step) {
        char text[4];
        std::snprintf(text, sizeof text, "%.2X", static_cast<unsigned>(offset));
        heading += text;
        if (offset + step < kBytesPerRow)
            heading.append(columnWidth - 2, ' ');
    }
    return heading;
}

std::string pciHexRowHeading() {
    std::string heading;
    for (std::size_t row = 0; row < kPciHexRows; ++row) {
        char text[4];
        std::snprintf(text, sizeof text, "%.2X", static_cast<unsigned>(row * kBytesPerRow));
        if (row > 0)
            heading += '\n';
        heading += text;
    }
    return heading;
}

} // namespace solvane::sysinfo
