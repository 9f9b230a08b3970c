#pragma once

#include "ui/SkinCatalogue.h"

#include <QImage>

namespace solvane::skingen {

// The picture of one catalogue entry, at its size.
QImage drawBitmap(const ui::skin::Bitmap& bitmap);

} // namespace solvane::skingen
