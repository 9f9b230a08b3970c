#pragma once

#include "ui/SkinLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <string_view>

class QPainter;

// The look every skin picture shares: a dark slate base, one cyan accent, greens for power
// saving, light grey text; one sans-serif face at pixel sizes so text stays crisp.
namespace solvane::skingen {

namespace theme {
inline const QColor kInk{0x10, 0x14, 0x19};        // deepest background
inline const QColor kBand{0x15, 0x1a, 0x21};       // navigation band behind the page buttons
inline const QColor kTitleBar{0x1b, 0x21, 0x29};   // title strip and footer
inline const QColor kPanel{0x1a, 0x20, 0x28};      // page background, top
inline const QColor kPanelLow{0x13, 0x18, 0x1e};   // page background, bottom
inline const QColor kFace{0x23, 0x2a, 0x34};       // button face
inline const QColor kFaceHover{0x2c, 0x35, 0x41};  // button face under the mouse
inline const QColor kFaceDown{0x16, 0x1b, 0x22};   // button face while pressed
inline const QColor kFaceOff{0x1a, 0x1f, 0x26};    // disabled button face
inline const QColor kLine{0x33, 0x3d, 0x49};       // borders
inline const QColor kLineBright{0x4d, 0x5b, 0x6c}; // borders under the mouse
inline const QColor kText{0xdb, 0xe3, 0xeb};
inline const QColor kTextDim{0x8d, 0x99, 0xa7};
inline const QColor kTextOff{0x5a, 0x64, 0x70};
inline const QColor kAccent = ui::skin::kLinkColor.toQColor();
inline const QColor kAccentDeep{0x14, 0x3f, 0x48};
inline const QColor kGreen{0x49, 0xd6, 0x6f};
inline const QColor kLime{0xa3, 0xe6, 0x35};
inline const QColor kAmber{0xf0, 0xa9, 0x2c};
inline const QColor kBlue{0x4a, 0xa8, 0xff};
inline const QColor kPcb{0x11, 0x2c, 0x24};
inline const QColor kPcbTrace{0x18, 0x3d, 0x31};
inline const QColor kSilk{0xc4, 0xd2, 0xca};
inline const QColor kMetal{0x8e, 0x98, 0xa2};
// Outside the main window's shape.
inline const QColor kOutside{0xff, 0x00, 0x00};
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
