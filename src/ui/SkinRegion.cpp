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
    // A row with the same runs as the row above extends that band's rectangles downwards: the
    // banded form a region keeps anyway, and far fewer rectangles for a large shape.
    const auto runs = opaqueRuns(image, transparent, limit);
    std::vector<QRect> bands;
    std::size_t lastBand = 0;
    auto rowEnd = runs.begin();
    for (auto rowBegin = runs.begin(); rowBegin != runs.end(); rowBegin = rowEnd) {
        const int y = rowBegin->y();
        rowEnd = std::find_if(rowBegin, runs.end(), [y](const QRect& run) { return run.y() != y; });
        const auto count = static_cast<std::size_t>(rowEnd - rowBegin);
        const bool continues =
            bands.size() - lastBand == count && bands[lastBand].bottom() + 1 == y &&
            std::equal(rowBegin, rowEnd, bands.begin() + static_cast<std::ptrdiff_t>(lastBand),
                       [](const QRect& run, const QRect& band) {
                           return run.left() == band.left() && run.right() == band.right();
                       });
        if (continues) {
            for (std::size_t i = lastBand; i < bands.size(); ++i)
                bands[i].setBottom(y);
        } else {
            lastBand = bands.size();
            bands.insert(bands.end(), rowBegin, rowEnd);
        }
    }
    QRegion region;
    region.setRects(bands.data(), static_cast<int>(bands.size()));
    return region;
}

} // namespace solvane::ui
