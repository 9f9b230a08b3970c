#include "ui/SkinPicture.h"

#include <QPainter>

namespace solvane::ui {

namespace {

void placeImage(QPainter& painter, const QRect& target, const QImage& image, DrawMode mode) {
    if (mode == DrawMode::Stretch)
        painter.drawImage(target, image);
    else
        painter.drawImage(target.topLeft(), image, QRect(QPoint(0, 0), target.size()));
}

// The picture with the mask's white pixels made see-through, at the target's size.
QImage maskedPicture(const QSize& size, const QImage& picture, const QImage& mask, DrawMode mode) {
    const QRect area(QPoint(0, 0), size);
    QImage result(size, QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    QImage placedMask(size, QImage::Format_RGB32);
    placedMask.fill(Qt::white);
    {
        QPainter resultPainter(&result);
        placeImage(resultPainter, area, picture, mode);
        QPainter maskPainter(&placedMask);
        placeImage(maskPainter, area, mask, mode);
    }
    for (int y = 0; y < size.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* cover = reinterpret_cast<const QRgb*>(placedMask.constScanLine(y));
        for (int x = 0; x < size.width(); ++x)
            if ((cover[x] & RGB_MASK) == RGB_MASK)
                out[x] = 0;
    }
    return result;
}

} // namespace

void drawSkinPicture(QPainter& painter, const QRect& target, const QImage& picture, const QImage& mask,
                     DrawMode mode) {
    if (picture.isNull() || target.isEmpty())
        return;
    if (mode == DrawMode::Tile) {
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        for (int y = target.top(); y <= target.bottom(); y += picture.height())
            for (int x = target.left(); x <= target.right(); x += picture.width())
                painter.drawImage(QPoint(x, y), picture);
        painter.restore();
        return;
    }
    if (mask.isNull()) {
        placeImage(painter, target, picture, mode);
        return;
    }
    painter.drawImage(target.topLeft(), maskedPicture(target.size(), picture, mask, mode));
}

} // namespace solvane::ui
