#include "ControlArt.h"

#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>

namespace solvane::skingen {

namespace {

using ui::skin::State;
using ui::skin::Variant;

// Face, border and the shift of the content for each state of a dark button.
struct ButtonLook {
    QColor face;
    QColor border;
    QPointF shift;
};

ButtonLook lookOf(State state) {
    switch (state) {
    case State::Hover:
        return {theme::kFaceHover, theme::kLineBright, {}};
    case State::Pressed:
        return {theme::kFaceDown, theme::kAccent.darker(115), {1, 1}};
    case State::Disabled:
        return {theme::kFaceOff, QColor(0x27, 0x2e, 0x37), {}};
    case State::Normal:
        break;
    }
    return {theme::kFace, theme::kLine, {}};
}

QColor modeColor(Variant mode) {
    if (mode == Variant::ModeOptimize)
        return theme::kGreen;
    if (mode == Variant::ModeMax)
        return theme::kLime;
    return theme::kAccent;
}

void drawFace(QPainter& painter, const QRectF& box, const ButtonLook& look, qreal radius) {
    QLinearGradient face(box.topLeft(), box.bottomLeft());
    face.setColorAt(0.0, look.face.lighter(108));
    face.setColorAt(1.0, look.face);
    painter.setPen(QPen(look.border, 1));
    painter.setBrush(face);
    painter.drawPath(roundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius));
}

} // namespace

QImage drawModeButton(int width, int height, State state, const QString& caption, Variant mode) {
    QImage image = canvas(width, height, theme::kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor lamp = modeColor(mode);
    ButtonLook look = lookOf(state);
    // The pressed picture is also the look of the active mode: lit in its own colour.
    if (state == State::Pressed) {
        look.face = QColor::fromRgbF(lamp.redF() * 0.22 + 0.05, lamp.greenF() * 0.22 + 0.05,
                                     lamp.blueF() * 0.22 + 0.06);
        look.border = lamp;
    }
    const QRectF box(0, 0, width, height);
    drawFace(painter, box, look, 7);
    const QPointF lampCentre(22 + look.shift.x(), height / 2.0 + look.shift.y());
    if (state == State::Pressed) {
        QColor halo = lamp;
        halo.setAlpha(70);
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(lampCentre, 10, 10);
        drawGlowDot(painter, lampCentre, 6.5, lamp);
    } else {
        painter.setPen(QPen(state == State::Disabled ? QColor(0x2d, 0x34, 0x3d) : theme::kLineBright, 1.2));
        painter.setBrush(QColor(0x14, 0x18, 0x1e));
        painter.drawEllipse(lampCentre, 6.5, 6.5);
        if (state == State::Hover)
            drawGlowDot(painter, lampCentre, 3.5, lamp.darker(160));
    }
    QColor ink = state == State::Disabled ? theme::kTextOff
                 : state == State::Normal ? theme::kText
                                          : QColor(Qt::white);
    drawText(painter, QRectF(40, 0, width - 48, height).translated(look.shift), caption, ink,
             uiFont(13, QFont::DemiBold), Qt::AlignLeft | Qt::AlignVCenter);
    return image;
}

QImage drawValueButton(int width, int height, State state) {
    QImage image = canvas(width, height, theme::kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const ButtonLook look = lookOf(state);
    drawFace(painter, QRectF(0, 0, width, height), look, 3);
    // The chevron field at the right end says that the button opens a list.
    const qreal split = width - 16.5;
    painter.setPen(QPen(look.border, 1));
    painter.drawLine(QPointF(split, 3), QPointF(split, height - 3));
    const QColor chevron = state == State::Disabled ? theme::kTextOff : theme::kAccent;
    painter.setPen(QPen(chevron, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tip(width - 6.5 + look.shift.x(), height / 2.0 + look.shift.y());
    for (const qreal back : {4.0, 8.0})
        painter.drawPolyline(QList<QPointF>{tip + QPointF(-back, -3.5), tip + QPointF(-back + 3.5, 0),
                                            tip + QPointF(-back, 3.5)});
    return image;
}

QImage drawPlainButton(int width, int height, State state) {
    QImage image = canvas(width, height, theme::kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawFace(painter, QRectF(0, 0, width, height), lookOf(state), 4);
    return image;
}

QImage drawPictureButton(int width, int height, State state) {
    QImage image = canvas(width, height, theme::kPcb);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor plate(0xd6, 0xde, 0xe3);
    QColor border(0x93, 0xa4, 0xae);
    if (state == State::Hover) {
        plate = QColor(0xf1, 0xf5, 0xf7);
        border = theme::kAccent;
    } else if (state == State::Pressed) {
        plate = QColor(0xb4, 0xc2, 0xca);
        border = theme::kAccent.darker(130);
    }
    painter.setPen(QPen(border, state == State::Hover ? 1.5 : 1.0));
    painter.setBrush(plate);
    painter.drawPath(roundedRect(QRectF(0.75, 0.75, width - 1.5, height - 1.5), 3));
    return image;
}

} // namespace solvane::skingen
