#pragma once

#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QImage>

namespace solvane::skingen {

// The main window's background, pure red outside the window's shape.
QImage drawWindowBackground(int width, int height);
// One state picture of a main-window button, drawn to sit seamlessly on the background.
QImage drawMainButton(const ui::skin::MainButton& button, ui::skin::State state);
// The application icon at a square size, with transparency.
QImage drawAppIcon(int size);

} // namespace solvane::skingen
