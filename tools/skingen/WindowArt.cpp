#include "WindowArt.h"

#include "SkinTheme.h"
#include "solvane/Version.h"

#include <QLinearGradient>
#include <QPainter>

namespace solvane::skingen {

namespace {

using ui::skin::kMainWindow;
using ui::skin::kPageFrame;
using ui::skin::MainButtonLook;
using ui::skin::State;

constexpr int kTitleHeight = 32;
constexpr int kBandBottom = 109;
constexpr int kBodyBottom = 538;
constexpr int kFooterTop = 507;
// The footer tab that holds the link button below the body.
constexpr QRect kTab{300, 500, 168, 60};

// The window's outline: a rounded body with a tab hanging below its bottom edge.
QPainterPath windowShape() {
    QPainterPath shape = roundedRect(QRectF(0, 0, kMainWindow.width, kBodyBottom), 14);
    shape = shape.united(roundedRect(QRectF(kTab), 12));
    return shape.simplified();
}

// The flat colour behind a main-window button, so its picture blends into the window.
QColor groundOf(MainButtonLook look) {
    switch (look) {
    case MainButtonLook::Minimise:
    case MainButtonLook::Close:
    case MainButtonLook::Link:
        return theme::kTitleBar;
    case MainButtonLook::Section:
    case MainButtonLook::Page:
    case MainButtonLook::SubPage:
        break;
    }
    return theme::kBand;
}

void drawLogo(QPainter& painter, const QRectF& box) {
    // A leaf-shaped spark inside a ring: power that is saved.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = box.center();
    const qreal radius = box.width() / 2.0;
    QLinearGradient ring(box.topLeft(), box.bottomRight());
    ring.setColorAt(0.0, theme::kAccent);
    ring.setColorAt(1.0, theme::kGreen);
    painter.setPen(QPen(QBrush(ring), radius * 0.16));
    painter.setBrush(theme::kInk);
    painter.drawEllipse(centre, radius * 0.86, radius * 0.86);
    QPainterPath leaf;
    leaf.moveTo(centre + QPointF(-radius * 0.42, radius * 0.42));
    leaf.cubicTo(centre + QPointF(-radius * 0.5, -radius * 0.2),
                 centre + QPointF(radius * 0.05, -radius * 0.55),
                 centre + QPointF(radius * 0.5, -radius * 0.5));
    leaf.cubicTo(centre + QPointF(radius * 0.52, radius * 0.05),
                 centre + QPointF(radius * 0.15, radius * 0.5),
                 centre + QPointF(-radius * 0.42, radius * 0.42));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(ring));
    painter.drawPath(leaf);
    painter.setPen(QPen(theme::kInk, radius * 0.09, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-radius * 0.3, radius * 0.3),
                     centre + QPointF(radius * 0.3, -radius * 0.3));
    painter.restore();
}

void drawSectionButton(QPainter& painter, const QRectF& box, State state, const QString& caption) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = box.adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = theme::kFace;
    QColor border = theme::kLine;
    QColor ink = theme::kText;
    QFont font = uiFont(11, QFont::DemiBold);
    QRectF textBox = box;
    switch (state) {
    case State::Normal:
        break;
    case State::Hover:
        fill = theme::kFaceHover;
        border = theme::kLineBright;
        ink = Qt::white;
        break;
    case State::Pressed:
        fill = theme::kFaceDown;
        border = theme::kAccent.darker(130);
        textBox.translate(1, 1);
        break;
    case State::Disabled:
        // The current section: lit in the accent colour.
        fill = theme::kAccentDeep;
        border = theme::kAccent;
        ink = theme::kAccent.lighter(135);
        font = uiFont(11, QFont::Bold);
        break;
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawPath(roundedRect(face, 4));
    drawText(painter, textBox, caption, ink, font);
}

void drawTabButton(QPainter& painter, const QRectF& box, State state, const QString& caption, int pixelSize) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = box.adjusted(0.5, 1.5, -0.5, -1.5);
    QColor ink = theme::kTextDim;
    QFont font = uiFont(pixelSize);
    QRectF textBox = box;
    switch (state) {
    case State::Normal:
        break;
    case State::Hover:
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::kFaceHover);
        painter.drawPath(roundedRect(face, 4));
        ink = Qt::white;
        break;
    case State::Pressed:
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::kFaceDown);
        painter.drawPath(roundedRect(face, 4));
        ink = theme::kText;
        textBox.translate(1, 1);
        break;
    case State::Disabled: {
        // The current page: accent caption over an underline.
        ink = theme::kAccent.lighter(120);
        font = uiFont(pixelSize, QFont::Bold);
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::kAccent);
        const qreal barWidth =
            std::min<qreal>(box.width() - 8, QFontMetricsF(font).horizontalAdvance(caption) + 8);
        painter.drawRoundedRect(QRectF(box.center().x() - barWidth / 2, box.bottom() - 3, barWidth, 2.5), 1,
                                1);
        textBox.translate(0, -1);
        break;
    }
    }
    drawText(painter, textBox, caption, ink, font);
}

void drawLinkButton(QPainter& painter, const QRectF& box, State state, const QString& caption) {
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ink = theme::kText;
    QColor sub = theme::kTextDim;
    QRectF textBox = box;
    if (state == State::Hover) {
        ink = theme::kAccent.lighter(120);
        sub = theme::kAccent;
    } else if (state == State::Pressed) {
        ink = theme::kAccent;
        sub = theme::kAccent.darker(120);
        textBox.translate(1, 1);
    } else if (state == State::Disabled) {
        ink = theme::kTextOff;
        sub = theme::kTextOff;
    }
    QFont word = uiFont(17, QFont::Black);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    drawText(painter, textBox.adjusted(0, 4, 0, -16), caption, ink, word);
    drawText(painter, textBox.adjusted(0, 26, 0, -2), QStringLiteral("motherboards"), sub, uiFont(10));
    if (state == State::Hover) {
        painter.setPen(QPen(theme::kAccent, 1.5));
        painter.drawLine(QPointF(box.left() + 22, box.bottom() - 2.5),
                         QPointF(box.right() - 22, box.bottom() - 2.5));
    }
}

void drawWindowGlyphButton(QPainter& painter, const QRectF& box, State state, MainButtonLook look) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = box.adjusted(1.5, 3.5, -1.5, -3.5);
    QColor ink = theme::kTextDim;
    const bool close = look == MainButtonLook::Close;
    if (state == State::Hover || state == State::Pressed) {
        painter.setPen(Qt::NoPen);
        QColor fill = close ? QColor(0xc2, 0x3b, 0x3b) : theme::kFaceHover;
        if (state == State::Pressed)
            fill = fill.darker(125);
        painter.setBrush(fill);
        painter.drawPath(roundedRect(face, 4));
        ink = Qt::white;
    } else if (state == State::Disabled) {
        ink = theme::kTextOff;
    }
    painter.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre = face.center();
    if (close) {
        const qreal arm = 4.5;
        painter.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
        painter.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
    } else {
        painter.drawLine(centre + QPointF(-5, 4), centre + QPointF(5, 4));
    }
}

} // namespace

QImage drawWindowBackground(int width, int height) {
    QImage image = canvas(width, height, theme::kOutside);
    QPainter painter(&image);
    const QPainterPath shape = windowShape();
    const QPainterPath inset = roundedRect(QRectF(1, 1, width - 2, kBodyBottom - 2), 13)
                                   .united(roundedRect(QRectF(kTab).adjusted(1, 1, -1, -1), 11));
    // The outline is drawn without smoothing: an edge pixel blended with red would be neither
    // inside nor outside the window's shape.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kLineBright);
    painter.drawPath(shape);
    painter.setClipPath(inset);
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0.0, QColor(0x1a, 0x20, 0x27));
    body.setColorAt(1.0, theme::kInk);
    painter.fillRect(QRect(0, 0, width, height), body);
    painter.setRenderHint(QPainter::Antialiasing);

    // Title strip with the logo and the product name.
    painter.fillRect(QRect(0, 0, width, kTitleHeight), theme::kTitleBar);
    painter.fillRect(QRect(0, kTitleHeight, width, 1), theme::kLine);
    drawLogo(painter, QRectF(12, 5, 22, 22));
    QFont title = uiFont(13, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    drawText(painter, QRectF(42, 0, 300, kTitleHeight), QStringLiteral("SOLVANE CENTER"), theme::kText, title,
             Qt::AlignLeft | Qt::AlignVCenter);
    drawText(painter, QRectF(214, 0, 300, kTitleHeight),
             QStringLiteral("power saving  \u00b7  tuning  \u00b7  system"), theme::kTextDim, uiFont(11),
             Qt::AlignLeft | Qt::AlignVCenter);

    // Navigation band behind the three button rows.
    painter.fillRect(QRect(0, kTitleHeight + 1, width, kBandBottom - kTitleHeight - 1), theme::kBand);
    painter.fillRect(QRect(0, kBandBottom, width, 1), theme::kLine);
    drawText(painter, QRectF(430, 36, 295, 24), QStringLiteral("Tarvok motherboard utility"), theme::kTextOff,
             uiFont(11), Qt::AlignRight | Qt::AlignVCenter);

    // The frame the pages sit in.
    painter.setPen(QPen(theme::kLine, 1));
    painter.setBrush(theme::kPanelLow);
    painter.drawRect(
        QRectF(kPageFrame.x - 0.5, kPageFrame.y - 0.5, kPageFrame.width + 1, kPageFrame.height + 1));

    // Footer, running on into the tab of the link button.
    painter.fillRect(QRect(0, kFooterTop, width, height - kFooterTop), theme::kTitleBar);
    painter.fillRect(QRect(0, kFooterTop, width, 1), theme::kLine);
    drawText(painter, QRectF(30, kFooterTop, 250, kBodyBottom - kFooterTop),
             QStringLiteral("Build Version : ") + QLatin1String(kVersion), theme::kTextOff, uiFont(10),
             Qt::AlignLeft | Qt::AlignVCenter);
    painter.end();

    // Only pixels of the shape may differ from pure red, and none of them may be pure red.
    QImage inside = canvas(width, height, Qt::black);
    QPainter shapePainter(&inside);
    shapePainter.setPen(Qt::NoPen);
    shapePainter.setBrush(Qt::white);
    shapePainter.drawPath(shape);
    shapePainter.end();
    const QRgb outside = theme::kOutside.rgb();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* cover = reinterpret_cast<const QRgb*>(inside.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if ((cover[x] & RGB_MASK) == 0)
                row[x] = outside;
            else if ((row[x] & RGB_MASK) == (outside & RGB_MASK))
                row[x] = theme::kLineBright.rgb();
        }
    }
    return image;
}

QImage drawMainButton(const ui::skin::MainButton& button, State state) {
    QImage image = canvas(button.rect.width, button.rect.height, groundOf(button.look));
    QPainter painter(&image);
    const QRectF box(0, 0, button.rect.width, button.rect.height);
    const QString caption = text(button.caption);
    switch (button.look) {
    case MainButtonLook::Section:
        drawSectionButton(painter, box, state, caption);
        break;
    case MainButtonLook::Page:
        drawTabButton(painter, box, state, caption, 12);
        break;
    case MainButtonLook::SubPage:
        drawTabButton(painter, box, state, caption, 11);
        break;
    case MainButtonLook::Link:
        drawLinkButton(painter, box, state, caption);
        break;
    case MainButtonLook::Minimise:
    case MainButtonLook::Close:
        drawWindowGlyphButton(painter, box, state, button.look);
        break;
    }
    return image;
}

QImage drawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, size, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kInk);
    painter.drawPath(roundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), size * 0.22));
    drawLogo(painter, box.adjusted(size * 0.1, size * 0.1, -size * 0.1, -size * 0.1));
    return image;
}

} // namespace solvane::skingen
