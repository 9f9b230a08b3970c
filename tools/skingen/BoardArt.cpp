#include "BoardArt.h"

#include "PageArt.h"
#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <cstdint>

namespace solvane::skingen {

namespace {

using ui::skin::BoardPicture;
using ui::skin::Variant;

// The solder-mask pad under every lamp; the lamp pictures start from the same colour.
const QColor kPad{0x0a, 0x18, 0x13};

// A small round picture on the pad colour, drawn smoothly around its centre.
struct PadPicture {
    PadPicture(int width, int height)
        : image(canvas(width, height, kPad)), painter(&image), centre(width / 2.0, height / 2.0) {
        painter.setRenderHint(QPainter::Antialiasing);
    }
    QImage finish() {
        painter.end();
        return image;
    }

    QImage image;
    QPainter painter;
    QPointF centre;
};

QColor lampColor(Variant color) {
    switch (color) {
    case Variant::LampGreen:
        return theme::kGreen;
    case Variant::LampBlue:
        return theme::kBlue;
    case Variant::LampAmber:
        return theme::kAmber;
    default:
        return {};
    }
}

// A repeatable sequence for the copper traces, so every build draws the same board.
class TraceRandom {
public:
    int next(int bound) {
        m_state = m_state * 1103515245U + 12345U;
        return static_cast<int>((m_state >> 16) % static_cast<std::uint32_t>(bound));
    }

private:
    std::uint32_t m_state = 2917;
};

void drawTraces(QPainter& painter, const QSizeF& board) {
    TraceRandom random;
    QColor copper = theme::kPcbTrace;
    painter.setPen(QPen(copper, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 46; ++i) {
        QPointF start(10 + random.next(static_cast<int>(board.width()) - 20),
                      10 + random.next(static_cast<int>(board.height()) - 20));
        const qreal run = 20 + random.next(60);
        const bool across = random.next(2) == 0;
        const qreal bend = 6 + random.next(12);
        QPointF corner = start + (across ? QPointF(run, 0) : QPointF(0, run));
        QPointF end = corner + QPointF(bend, bend);
        painter.drawPolyline(QList<QPointF>{start, corner, end});
        painter.drawEllipse(end, 1.4, 1.4);
    }
}

void drawHole(QPainter& painter, const QPointF& centre) {
    painter.setPen(QPen(theme::kMetal, 2));
    painter.setBrush(theme::kInk);
    painter.drawEllipse(centre, 4.5, 4.5);
}

void drawChoke(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(QColor(0x24, 0x29, 0x2f), 1));
    painter.setBrush(QColor(0x4a, 0x53, 0x5d));
    painter.drawRoundedRect(box, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x35, 0x3c));
    painter.drawEllipse(box.center(), box.width() * 0.22, box.width() * 0.22);
}

void drawSocket(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(QColor(0x5d, 0x66, 0x70), 1.5));
    painter.setBrush(QColor(0x2a, 0x30, 0x36));
    painter.drawRoundedRect(box, 4, 4);
    const QRectF lid = box.adjusted(12, 12, -12, -12);
    QLinearGradient metal(lid.topLeft(), lid.bottomRight());
    metal.setColorAt(0.0, QColor(0xb9, 0xc1, 0xc8));
    metal.setColorAt(1.0, QColor(0x7b, 0x85, 0x8f));
    painter.setPen(QPen(QColor(0x5a, 0x62, 0x6b), 1));
    painter.setBrush(metal);
    painter.drawRoundedRect(lid, 3, 3);
    drawText(painter, lid, QStringLiteral("CPU"), QColor(0x3b, 0x43, 0x4c), uiFont(14, QFont::Bold));
    // The retention lever along one side.
    painter.setPen(QPen(theme::kMetal, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(box.right() + 4, box.top() + 6), QPointF(box.right() + 4, box.bottom() - 2));
}

void drawDimm(QPainter& painter, const QRectF& box, const QColor& body) {
    painter.setPen(QPen(body.darker(160), 1));
    painter.setBrush(body);
    painter.drawRoundedRect(box, 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x08, 0x0a, 0x0c));
    painter.drawRect(QRectF(box.center().x() - 1, box.top() + 5, 2, box.height() - 10));
    painter.setBrush(body.lighter(140));
    painter.drawRect(QRectF(box.left(), box.top(), box.width(), 4));
    painter.drawRect(QRectF(box.left(), box.bottom() - 4, box.width(), 4));
}

void drawHeatsink(QPainter& painter, const QRectF& box) {
    QLinearGradient metal(box.topLeft(), box.bottomRight());
    metal.setColorAt(0.0, QColor(0x3c, 0x8d, 0xa0));
    metal.setColorAt(1.0, QColor(0x1e, 0x55, 0x63));
    painter.setPen(QPen(QColor(0x15, 0x3b, 0x45), 1));
    painter.setBrush(metal);
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(QPen(QColor(0x7f, 0xc9, 0xd9, 120), 1));
    for (qreal x = box.left() + 6; x < box.right() - 3; x += 5)
        painter.drawLine(QPointF(x, box.top() + 4), QPointF(x, box.bottom() - 4));
}

void drawChip(QPainter& painter, const QRectF& box, const QString& name) {
    painter.setPen(QPen(QColor(0x2e, 0x34, 0x3a), 1));
    painter.setBrush(QColor(0x1c, 0x20, 0x24));
    painter.drawRoundedRect(box, 2, 2);
    drawText(painter, box, name, QColor(0x9a, 0xa4, 0xae), uiFont(9, QFont::Bold));
}

void drawConnector(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(QColor(0x9a, 0x9a, 0x90), 1));
    painter.setBrush(QColor(0xd9, 0xd8, 0xcd));
    painter.drawRoundedRect(box, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x7c, 0x7b, 0x72));
    const bool tall = box.height() > box.width();
    const int pins = static_cast<int>((tall ? box.height() : box.width()) / 6);
    for (int i = 0; i < pins; ++i) {
        const qreal along = 3 + i * 6.0;
        for (const qreal across : {0.3, 0.62}) {
            const QPointF at = tall ? QPointF(box.left() + box.width() * across, box.top() + along)
                                    : QPointF(box.left() + along, box.top() + box.height() * across);
            painter.drawRect(QRectF(at, QSizeF(3, 3)));
        }
    }
}

void drawSata(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(QColor(0x7a, 0x36, 0x10), 1));
    painter.setBrush(QColor(0xc8, 0x5a, 0x1e));
    painter.drawRoundedRect(box, 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x18, 0x06));
    painter.drawRect(box.adjusted(3, 2.5, -3, -2.5));
}

void drawIoStrip(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(QColor(0x25, 0x2a, 0x30), 1));
    painter.setBrush(QColor(0x58, 0x60, 0x69));
    for (qreal y = box.top(); y + 16 <= box.bottom(); y += 20)
        painter.drawRoundedRect(QRectF(box.left(), y, box.width(), 16), 1.5, 1.5);
}

void drawBattery(QPainter& painter, const QPointF& centre) {
    QLinearGradient metal(centre - QPointF(10, 10), centre + QPointF(10, 10));
    metal.setColorAt(0.0, QColor(0xd5, 0xda, 0xdf));
    metal.setColorAt(1.0, QColor(0x82, 0x8b, 0x94));
    painter.setPen(QPen(QColor(0x55, 0x5c, 0x63), 1));
    painter.setBrush(metal);
    painter.drawEllipse(centre, 11, 11);
    drawText(painter, QRectF(centre - QPointF(11, 11), QSizeF(22, 22)), QStringLiteral("+"),
             QColor(0x55, 0x5c, 0x63), uiFont(10, QFont::Bold));
}

QSize catalogueSize(int bitmapId) {
    const auto bitmap = ui::skin::bitmapById(bitmapId);
    return bitmap ? QSize(bitmap->width, bitmap->height) : QSize();
}

// Pads under the lamps and faint outlines where the slot pictures go, so a hidden control
// leaves a plausible empty footprint.
void drawSites(QPainter& painter, const BoardPicture& picture) {
    QColor silk = theme::kSilk;
    silk.setAlpha(70);
    for (const auto& slot : picture.slotSites) {
        const QSize size = catalogueSize(slot.bitmapId);
        painter.setPen(QPen(silk, 1));
        painter.setBrush(QColor(0x0c, 0x22, 0x1b));
        painter.drawRect(QRectF(slot.x - 1.5, slot.y - 1.5, size.width() + 3, size.height() + 3));
    }
    for (const auto& lamp : picture.lampSites) {
        const QSize size = catalogueSize(lamp.bitmapId);
        painter.setPen(QPen(silk, 1));
        painter.setBrush(kPad);
        painter.drawRect(QRectF(lamp.x - 1.5, lamp.y - 1.5, size.width() + 3, size.height() + 3));
    }
}

void drawFullBoard(QPainter& painter) {
    drawIoStrip(painter, QRectF(0, 14, 12, 148));
    drawConnector(painter, QRectF(58, 6, 30, 13));
    for (int i = 0; i < 6; ++i)
        drawChoke(painter, QRectF(112 + 18 * i, 12, 14, 14));
    for (int i = 0; i < 3; ++i)
        drawChoke(painter, QRectF(88, 58 + 20 * i, 14, 14));
    drawSocket(painter, QRectF(112, 48, 96, 96));
    for (int i = 0; i < 6; ++i)
        drawDimm(painter, QRectF(232 + 14 * i, 14, 8, 168),
                 i % 2 == 0 ? QColor(0x2b, 0x5f, 0x82) : QColor(0x2a, 0x2f, 0x36));
    drawConnector(painter, QRectF(362, 40, 16, 72));
    drawHeatsink(painter, QRectF(240, 232, 52, 44));
    drawChip(painter, QRectF(300, 280, 38, 38), QStringLiteral("ICH"));
    for (int i = 0; i < 4; ++i)
        drawSata(painter, QRectF(374, 276 + 12 * i, 16, 10));
    drawBattery(painter, QPointF(208, 306));
    QFont brand = uiFont(15, QFont::Black);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    QColor silk = theme::kSilk;
    silk.setAlpha(70);
    drawText(painter, QRectF(14, 178, 112, 22), QStringLiteral("TARVOK"), silk, brand);
}

void drawSmallBoard(QPainter& painter) {
    drawIoStrip(painter, QRectF(0, 14, 12, 140));
    for (int i = 0; i < 6; ++i)
        drawChoke(painter, QRectF(94 + 18 * i, 16, 14, 14));
    drawSocket(painter, QRectF(96, 64, 100, 100));
    for (int i = 0; i < 4; ++i)
        drawDimm(painter, QRectF(228 + 16 * i, 20, 9, 160),
                 i % 2 == 0 ? QColor(0x2b, 0x5f, 0x82) : QColor(0x2a, 0x2f, 0x36));
    drawConnector(painter, QRectF(290, 40, 14, 60));
    drawHeatsink(painter, QRectF(206, 206, 50, 42));
    for (int i = 0; i < 2; ++i)
        drawSata(painter, QRectF(280, 220 + 12 * i, 16, 10));
    drawBattery(painter, QPointF(226, 290));
}

} // namespace

QImage drawBoardPicture(int width, int height, const BoardPicture& picture) {
    QImage image = drawPageBackground(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF board(picture.board.x, picture.board.y, picture.board.width, picture.board.height);
    // A soft shadow lifts the board off the page.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawPath(roundedRect(board.translated(3, 4), 8));
    QLinearGradient pcb(board.topLeft(), board.bottomRight());
    pcb.setColorAt(0.0, theme::kPcb.lighter(115));
    pcb.setColorAt(1.0, theme::kPcb.darker(115));
    painter.setPen(QPen(QColor(0x0a, 0x1c, 0x16), 1.5));
    painter.setBrush(pcb);
    painter.drawPath(roundedRect(board, 8));
    painter.translate(board.topLeft());
    painter.setClipPath(roundedRect(QRectF(QPointF(0, 0), board.size()), 8));
    drawTraces(painter, board.size());
    for (const QPointF corner :
         {QPointF(10, 10), QPointF(board.width() - 10, 10), QPointF(10, board.height() - 10),
          QPointF(board.width() - 10, board.height() - 10)})
        drawHole(painter, corner);
    if (picture.variant == Variant::BoardSmall)
        drawSmallBoard(painter);
    else
        drawFullBoard(painter);
    drawSites(painter, picture);
    return image;
}

QImage drawLamp(int width, int height, Variant color) {
    PadPicture lamp(width, height);
    const qreal radius = std::min(width, height) / 2.0 - 0.8;
    if (color == Variant::LampDark) {
        lamp.painter.setPen(QPen(QColor(0x2f, 0x47, 0x3d), 1));
        lamp.painter.setBrush(QColor(0x17, 0x2a, 0x23));
        lamp.painter.drawEllipse(lamp.centre, radius, radius);
    } else {
        drawGlowDot(lamp.painter, lamp.centre, radius, lampColor(color));
    }
    return lamp.finish();
}

QImage drawEasyButton(int width, int height, Variant color) {
    PadPicture button(width, height);
    QPainter& painter = button.painter;
    const QPointF centre = button.centre;
    const qreal radius = std::min(width, height) / 2.0 - 1;
    const bool lit = color != Variant::LampDark;
    painter.setPen(QPen(lit ? lampColor(color) : QColor(0x33, 0x4a, 0x40), 2.2));
    painter.setBrush(QColor(0x2c, 0x32, 0x38));
    painter.drawEllipse(centre, radius - 1, radius - 1);
    painter.setPen(
        QPen(lit ? lampColor(color).lighter(140) : theme::kTextOff, 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(centre - QPointF(4, 4), QSizeF(8, 8)), 120 * 16, 300 * 16);
    painter.drawLine(centre - QPointF(0, 4.5), centre);
    return button.finish();
}

QImage drawSlot(int width, int height, Variant kind) {
    const bool pci = kind == Variant::SlotPci;
    const QColor body = pci ? QColor(0xd6, 0xd6, 0xca) : QColor(0x22, 0x27, 0x2d);
    const QColor channel = pci ? QColor(0x6c, 0x6c, 0x62) : QColor(0x07, 0x09, 0x0b);
    QImage image = canvas(width, height, QColor(0x0c, 0x22, 0x1b));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(body.darker(150), 1));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 2, 2);
    // The key splits the contact channel where the card's notch goes.
    const qreal key = kind == Variant::SlotPcieX1 ? 12 : pci ? width * 0.68 : 22;
    const qreal end = kind == Variant::SlotPcieX16 ? width - 10 : width - 3;
    painter.setPen(Qt::NoPen);
    painter.setBrush(channel);
    painter.drawRect(QRectF(3, height / 2.0 - 1.5, key - 5, 3));
    painter.drawRect(QRectF(key + 2, height / 2.0 - 1.5, end - key - 2, 3));
    if (kind == Variant::SlotPcieX16) {
        // The card latch at the far end.
        painter.setBrush(QColor(0x5b, 0x65, 0x70));
        painter.drawRoundedRect(QRectF(width - 8, 1.5, 6.5, height - 3), 1.5, 1.5);
    }
    return image;
}

} // namespace solvane::skingen
