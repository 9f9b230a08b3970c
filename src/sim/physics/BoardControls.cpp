#include "sim/physics/BoardControls.h"

#include <algorithm>

namespace solvane::sim {

namespace {

double levelAt(std::span<const std::int16_t> levels, unsigned index, double nominal) {
    if (levels.empty())
        return nominal;
    // An index past the list drives the generator to its highest level.
    return levels[std::min<std::size_t>(index, levels.size() - 1)];
}

double amdCoreOffset(std::uint8_t code) {
    if (code >= 0xC3 && code <= 0xD0)
        return -20.8 * (code - 0xC0);
    if (code >= 0x41 && code <= 0x50)
        return -2.6 * (code - 0x40);
    if (code <= 0x44 && code % 2 == 0)
        return code / 2.0;
    if (code >= 0x84 && code <= 0xBF)
        return (800.0 + 200.0 * (code - 0x84)) * 0.055;
    return 0.0;
}

double amdVttOffset(std::uint8_t code) {
    if (code >= 0x45 && code <= 0x50)
        return 4.25 * (code - 0x46);
    if (code >= 0xC3 && code <= 0xCB)
        return (900.0 + 400.0 * (code - 0xC3)) * 0.085;
    return 0.0;
}

} // namespace

double decodeVoltage(const VoltageControl& control, std::uint8_t code, double nominalMillivolts) {
    const unsigned magnitude6 = code & 0x3FU;
    switch (control.code) {
    case VoltageCode::OffsetB:
        if ((code & 0x80) == 0)
            return nominalMillivolts;
        return (code & 0x40) != 0 ? nominalMillivolts - 20.0 * magnitude6
                                  : nominalMillivolts + 10.0 * magnitude6;
    case VoltageCode::OffsetA:
        return (code & 0x40) != 0 ? nominalMillivolts - 50.0 * magnitude6
                                  : nominalMillivolts + 10.0 * magnitude6;
    case VoltageCode::OffsetC:
        return (code & 0x80) != 0 ? nominalMillivolts - 10.0 * (code & 0x7FU)
                                  : nominalMillivolts + 10.0 * code;
    case VoltageCode::AmdCoreTable:
        return nominalMillivolts + amdCoreOffset(code);
    case VoltageCode::AmdVttTable:
        return nominalMillivolts + amdVttOffset(code);
    case VoltageCode::LevelHighNibble:
        return levelAt(control.levels, code >> 4U, nominalMillivolts);
    case VoltageCode::LevelLowNibble:
        return levelAt(control.levels, code & 0x0FU, nominalMillivolts);
    }
    return nominalMillivolts;
}

} // namespace solvane::sim
