#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace solvane::ui {

// How a state picture fills its button.
enum class DrawMode {
    Copy = 0,    // natural size from the top-left corner
    Stretch = 1, // scaled to the button
    Tile = 2,    // repeated from the top-left corner, the last row and column clipped
};

// A requested mode number: above 1 tiles, below 0 copies.
constexpr DrawMode drawModeFromNumber(int requested) {
    return requested > 1 ? DrawMode::Tile : requested < 1 ? DrawMode::Copy : DrawMode::Stretch;
}

// Draws a state picture into a rectangle. With a mask (and not tiling) the mask's white pixels
// leave what is already under the rectangle visible; the mask is placed like the picture.
void drawSkinPicture(QPainter& painter, const QRect& target, const QImage& picture, const QImage& mask,
                     DrawMode mode);

} // namespace solvane::ui
