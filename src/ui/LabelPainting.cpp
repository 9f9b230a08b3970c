#include "ui/LabelPainting.h"

#include <algorithm>
#include <array>

namespace solvane::ui {

std::vector<GradientBand> gradientBands(ColorRef start, ColorRef end, int width) {
    std::vector<GradientBand> bands;
    if (width <= 0)
        return bands;
    const int count = std::min(100, width);
    const int bandWidth = width / count;
    const int stepRed = (end.red() - start.red()) * 256 / count;
    const int stepGreen = (end.green() - start.green()) * 256 / count;
    const int stepBlue = (end.blue() - start.blue()) * 256 / count;
    int red = start.red() * 256;
    int green = start.green() * 256;
    int blue = start.blue() * 256;
    int left = 0;
    bands.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int right = i == count - 1 ? width : left + bandWidth;
        bands.push_back({left, right, ColorRef::fromRgb(red / 256, green / 256, blue / 256)});
        left = right;
        red += stepRed;
        green += stepGreen;
        blue += stepBlue;
    }
    return bands;
}

namespace {

constexpr int kTop = static_cast<int>(Qt::AlignTop);
constexpr int kWrap = static_cast<int>(Qt::TextWordWrap);

// Flags for each alignment, in the order of StaticAlign.
constexpr std::array<int, 4> kAlignFlags{
    static_cast<int>(Qt::AlignLeft) | kTop | kWrap,
    static_cast<int>(Qt::AlignHCenter) | kTop | kWrap,
    static_cast<int>(Qt::AlignRight) | kTop | kWrap,
    static_cast<int>(Qt::AlignLeft) | kTop,
};

} // namespace

int labelTextFlags(StaticStyle style, const QString& text) {
    if (!style.centerImage)
        return kAlignFlags[static_cast<std::size_t>(style.align)];
    if (text.contains(QStringLiteral("\r\n")))
        return static_cast<int>(Qt::AlignHCenter) | kTop;
    return static_cast<int>(Qt::AlignCenter) | static_cast<int>(Qt::TextSingleLine);
}

} // namespace solvane::ui
