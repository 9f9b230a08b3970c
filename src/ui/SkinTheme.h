#pragma once

#include <QPalette>
#include <QString>

class QApplication;

namespace solvane::ui {

// The colours of the plain controls (drop-down lists, number fields, spin boxes, message boxes,
// tool tips) taken from the skin's palette, so none of them comes up in the desktop's light theme.
QPalette skinPalette();
// What the palette alone does not reach: the entries of drop-down lists, tool tips.
QString skinControlsStyle();
// Gives the whole program the skin's look: a style that draws from the palette, the palette and
// the style sheet above.
void applySkinTheme(QApplication& application);

} // namespace solvane::ui
