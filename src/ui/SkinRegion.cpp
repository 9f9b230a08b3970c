#include "ui/SkinRegion.h"

#include <algorithm>

namespace solvane::ui {

std::vector<QRect> opaqueRuns(const QImage& image, ColorRef transparent, QSize limit) {
    std::vector<QRect> runs;
    if (image.isNull())
        return runs;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(pixels.width(), limit.width());
    const int height = std::min(pixels.height(), limit.height());
    const QRgb clear = transparent.toQColor().rgb() & RGB_MASK;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & RGB_MASK) == clear)
                ++x;
            const int start = x;
            while (x < width && (row[x] & RGB_MASK) != clear)
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    return runs;
}

QRegion opaqueRegion(const QImage& image, ColorRef transparent, QSize limit) {
    const auto runs = opaqueRuns(image, transparent, limit);
    QRegion region;
    // The runs are one-pixel bands in row and column order, exactly what a region is made of.
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

} // namespace solvane::ui
