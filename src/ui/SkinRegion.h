#pragma once

#include "ui/ColorRef.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

namespace solvane::ui {

// Every maximal horizontal run of pixels whose colour differs from the transparent colour, as one
// rectangle one pixel high, in row order. Only the first `limit` columns and rows of the image
// are scanned (the part of a picture that lies inside its window). The alpha channel is ignored.
std::vector<QRect> opaqueRuns(const QImage& image, ColorRef transparent, QSize limit);

// The union of those runs: the shape a window or button takes from its picture.
QRegion opaqueRegion(const QImage& image, ColorRef transparent, QSize limit);

} // namespace solvane::ui
