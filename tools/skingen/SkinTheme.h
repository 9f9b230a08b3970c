#pragma once

#include "ui/Palette.h"
#include "ui/SkinLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <string_view>

class QPainter;

// The look every skin picture shares: the skin's palette, and one sans-serif face at pixel sizes so
// text stays crisp.
namespace solvane::skingen {

namespace theme {
// The skin's colours (ui/Palette.h) as the painter takes them.
inline const QColor kInk = ui::palette::kInk.toQColor();
inline const QColor kBand = ui::palette::kBand.toQColor();
inline const QColor kTitleBar = ui::palette::kTitleBar.toQColor();
inline const QColor kPanel = ui::palette::kPanel.toQColor();
inline const QColor kPanelLow = ui::palette::kPanelLow.toQColor();
inline const QColor kFace = ui::palette::kFace.toQColor();
inline const QColor kFaceHover = ui::palette::kFaceHover.toQColor();
inline const QColor kFaceDown = ui::palette::kFaceDown.toQColor();
inline const QColor kFaceOff = ui::palette::kFaceOff.toQColor();
inline const QColor kLine = ui::palette::kLine.toQColor();
inline const QColor kLineBright = ui::palette::kLineBright.toQColor();
inline const QColor kText = ui::palette::kText.toQColor();
inline const QColor kTextDim = ui::palette::kTextDim.toQColor();
inline const QColor kTextOff = ui::palette::kTextOff.toQColor();
inline const QColor kAccent = ui::palette::kAccent.toQColor();
inline const QColor kAccentDeep = ui::palette::kAccentDeep.toQColor();
inline const QColor kGreen = ui::palette::kSavingGreen.toQColor();
inline const QColor kLime = ui::palette::kLime.toQColor();
inline const QColor kAmber = ui::palette::kAmber.toQColor();
inline const QColor kBlue = ui::palette::kBlue.toQColor();
inline const QColor kPcb = ui::palette::kPcb.toQColor();
inline const QColor kPcbTrace = ui::palette::kPcbTrace.toQColor();
inline const QColor kSilk = ui::palette::kSilk.toQColor();
inline const QColor kMetal = ui::palette::kMetal.toQColor();
inline const QColor kOutside = ui::palette::kOutside.toQColor();
} // namespace theme

QString text(std::string_view utf8);
QFont uiFont(int pixelSize, QFont::Weight weight = QFont::Normal);
QImage canvas(int width, int height, const QColor& fill);
void drawText(QPainter& painter, const QRectF& box, const QString& text, const QColor& color,
              const QFont& font, int flags = Qt::AlignCenter);
QPainterPath roundedRect(const QRectF& box, qreal radius);
// A soft round light: a bright core fading out to the colour's edge.
void drawGlowDot(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color);

} // namespace solvane::skingen
