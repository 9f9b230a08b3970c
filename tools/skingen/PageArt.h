#pragma once

#include <QImage>
#include <QString>

namespace solvane::skingen {

// The background every stacked page shares.
QImage drawPageBackground(int width, int height);
// The motherboard information page: the page background with its two panels.
QImage drawStackBackground(int width, int height);
// A heading picture over a group box.
QImage drawSectionTitle(int width, int height, const QString& caption);

} // namespace solvane::skingen
