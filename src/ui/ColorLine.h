#pragma once

#include "ui/ColorRef.h"

#include <QString>
#include <array>

namespace solvane::ui {

// The sixteen colours a colour list line can use, by index.
inline constexpr std::array<ColorRef, 16> kListColors{
    ColorRef(0x000000), ColorRef(0xFFFFFF), ColorRef(0x000080), ColorRef(0x008000),
    ColorRef(0x008080), ColorRef(0x800000), ColorRef(0x800080), ColorRef(0x808000),
    ColorRef(0xC0C0C0), ColorRef(0x808080), ColorRef(0x0000FF), ColorRef(0x00FF00),
    ColorRef(0x00FFFF), ColorRef(0xFF0000), ColorRef(0xFF00FF), ColorRef(0xFFFF00),
};

// Colour indexes of the plain line: black on white.
inline constexpr int kPlainTextIndex = 0;
inline constexpr int kPlainBackIndex = 1;

// A line of the colour list box as it is stored: the text-colour index plus 1, the
// background-colour index plus 1, then the text. An out-of-range text index becomes black
// and an out-of-range background index white; line breaks in the text become blanks.
QString encodeColorLine(int textIndex, int backIndex, const QString& text);

struct ColorLine {
    int textIndex = kPlainTextIndex;
    int backIndex = kPlainBackIndex;
    QString text;
};

// The parts of a stored line; a line too short to carry its colours is plain.
ColorLine decodeColorLine(const QString& stored);

} // namespace solvane::ui
