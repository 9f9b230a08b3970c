#pragma once

#include "ui/BoardPictureLayout.h"

#include <QImage>

namespace solvane::skingen {

// The LED page's background: the page on the left, the board on the right with pads where its
// lamps sit and outlines where its slot pictures go.
QImage drawBoardPicture(int width, int height, const ui::skin::BoardPicture& picture);
// A board LED, lit in its colour or dark.
QImage drawLamp(int width, int height, ui::skin::Variant color);
// The board's power button, its ring lit or dark.
QImage drawEasyButton(int width, int height, ui::skin::Variant color);
// An expansion slot seen from above.
QImage drawSlot(int width, int height, ui::skin::Variant kind);

} // namespace solvane::skingen
