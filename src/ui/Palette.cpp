#include "ui/Palette.h"

#include <algorithm>
#include <cmath>

namespace solvane::ui::palette {

namespace {

// A channel of 0..255 as linear light (sRGB).
double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(ColorRef color) {
    return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) + 0.0722 * linear(color.blue());
}

} // namespace

double contrastRatio(ColorRef first, ColorRef second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace solvane::ui::palette
