#include "SkinTheme.h"

#include <QPainter>
#include <QRadialGradient>

namespace solvane::skingen {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont uiFont(int pixelSize, QFont::Weight weight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage canvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void drawText(QPainter& painter, const QRectF& box, const QString& text, const QColor& color,
              const QFont& font, int flags) {
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, flags, text);
    painter.restore();
}

QPainterPath roundedRect(const QRectF& box, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

void drawGlowDot(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color) {
    QRadialGradient light(centre, radius, centre - QPointF(radius * 0.3, radius * 0.3));
    light.setColorAt(0.0, color.lighter(170));
    light.setColorAt(0.55, color);
    light.setColorAt(1.0, color.darker(190));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

} // namespace solvane::skingen
