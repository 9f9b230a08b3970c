#pragma once

#include "ui/SkinCatalogue.h"

#include <QImage>
#include <QString>

namespace solvane::skingen {

// The power-mode buttons of the basic page, each with its own lamp colour.
QImage drawModeButton(int width, int height, ui::skin::State state, const QString& caption,
                      ui::skin::Variant mode);
// The ">>" button of a setting row: a field for the caption and a chevron.
QImage drawValueButton(int width, int height, ui::skin::State state);
// A plain button for a caption.
QImage drawPlainButton(int width, int height, ui::skin::State state);
// A clickable spot on the board picture: a silkscreen plate for the caption.
QImage drawPictureButton(int width, int height, ui::skin::State state);

} // namespace solvane::skingen
