#pragma once

#include "ui/ColorRef.h"

#include <QString>
#include <vector>

namespace solvane::ui {

// One vertical band of a label's gradient background, from column `left` up to `right`
// (exclusive).
struct GradientBand {
    int left;
    int right;
    ColorRef color;
};

// The bands of a left-to-right gradient over `width` pixels: min(100, width) bands of equal width,
// the last reaching the right edge, each colour channel stepping in 8.8 fixed point by
// (end - start) x 256 / bands from the start colour.
std::vector<GradientBand> gradientBands(ColorRef start, ColorRef end, int width);

// The text alignment a static control's style gives its text.
enum class StaticAlign {
    Left,           // left, wrapped at words
    Center,         // centred, wrapped
    Right,          // right-aligned, wrapped
    LeftNoWordWrap, // one left-aligned line, no wrapping
};

struct StaticStyle {
    StaticAlign align = StaticAlign::Left;
    // Text centred vertically on one line (a text with a line break is only centred horizontally).
    bool centerImage = false;
};

// Qt text flags for a label's text in its style.
int labelTextFlags(StaticStyle style, const QString& text);

} // namespace solvane::ui
