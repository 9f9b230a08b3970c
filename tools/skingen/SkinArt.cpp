#include "SkinArt.h"

#include "BoardArt.h"
#include "ControlArt.h"
#include "PageArt.h"
#include "SkinTheme.h"
#include "WindowArt.h"

namespace solvane::skingen {

using ui::skin::Art;
using ui::skin::Bitmap;

QImage drawBitmap(const Bitmap& bitmap) {
    const int width = bitmap.width;
    const int height = bitmap.height;
    switch (bitmap.art) {
    case Art::PageBackground:
        return drawPageBackground(width, height);
    case Art::StackBackground:
        return drawStackBackground(width, height);
    case Art::BoardPicture:
        return drawBoardPicture(width, height,
                                bitmap.variant == ui::skin::Variant::BoardSmall
                                    ? ui::skin::kSmallBoardPicture
                                    : ui::skin::kFullBoardPicture);
    case Art::WindowBackground:
        return drawWindowBackground(width, height);
    case Art::ModeButton:
        return drawModeButton(width, height, bitmap.state, text(bitmap.text), bitmap.variant);
    case Art::Lamp:
        return drawLamp(width, height, bitmap.variant);
    case Art::EasyButton:
        return drawEasyButton(width, height, bitmap.variant);
    case Art::Slot:
        return drawSlot(width, height, bitmap.variant);
    case Art::PictureButton:
        return drawPictureButton(width, height, bitmap.state);
    case Art::SectionTitle:
        return drawSectionTitle(width, height, text(bitmap.text));
    case Art::ValueButton:
        return drawValueButton(width, height, bitmap.state);
    case Art::PlainButton:
        return drawPlainButton(width, height, bitmap.state);
    }
    return {};
}

} // namespace solvane::skingen
