#include "PageArt.h"

#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>

namespace solvane::skingen {

QImage drawPageBackground(int width, int height) {
    QImage image = canvas(width, height, theme::kPanel);
    QPainter painter(&image);
    QLinearGradient fall(0, 0, 0, height);
    fall.setColorAt(0.0, theme::kPanel);
    fall.setColorAt(1.0, theme::kPanelLow);
    painter.fillRect(image.rect(), fall);
    // A hairline of the accent along the top edge, fading out to the right.
    QLinearGradient hairline(0, 0, width * 0.6, 0);
    QColor accent = theme::kAccent;
    accent.setAlpha(110);
    hairline.setColorAt(0.0, accent);
    accent.setAlpha(0);
    hairline.setColorAt(1.0, accent);
    painter.fillRect(QRect(0, 0, width, 1), hairline);
    // Faint dots give the large empty areas some texture without competing with the text.
    QColor dot = theme::kLine;
    dot.setAlpha(70);
    painter.setPen(dot);
    for (int y = 12; y < height; y += 16)
        for (int x = 12 + (y / 16 % 2) * 8; x < width; x += 16)
            painter.drawPoint(x, y);
    return image;
}

QImage drawStackBackground(int width, int height) {
    QImage image = drawPageBackground(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal gap = 10;
    const qreal half = (width - 3 * gap) / 2;
    for (const qreal left : {gap, 2 * gap + half}) {
        const QRectF panel(left + 0.5, gap + 0.5, half - 1, height - 2 * gap - 1);
        QLinearGradient face(panel.topLeft(), panel.bottomLeft());
        face.setColorAt(0.0, QColor(0x1e, 0x25, 0x2e));
        face.setColorAt(1.0, QColor(0x17, 0x1c, 0x23));
        painter.setPen(QPen(theme::kLine, 1));
        painter.setBrush(face);
        painter.drawPath(roundedRect(panel, 6));
    }
    return image;
}

QImage drawSectionTitle(int width, int height, const QString& caption) {
    QImage image = canvas(width, height, theme::kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x28, 0x32));
    painter.drawPath(roundedRect(QRectF(0, 0, width, height), 3));
    painter.setBrush(theme::kAccent);
    painter.drawRoundedRect(QRectF(0, 0, 3, height), 1.5, 1.5);
    // The largest size up to 12 pixels at which the title fits beside the accent bar.
    int pixelSize = height <= 18 ? 11 : 12;
    QFont font = uiFont(pixelSize, QFont::Bold);
    while (pixelSize > 9 && QFontMetrics(font).horizontalAdvance(caption) > width - 12)
        font = uiFont(--pixelSize, QFont::Bold);
    // A word too wide even then (a short title in a tiny picture) is centred in all the space.
    const bool narrow = QFontMetrics(font).horizontalAdvance(caption) > width - 12;
    const QRectF box = narrow ? QRectF(3, 0, width - 3, height) : QRectF(8, 0, width - 10, height);
    drawText(painter, box, caption, theme::kText, font,
             narrow ? static_cast<int>(Qt::AlignCenter) : static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
    return image;
}

} // namespace solvane::skingen
