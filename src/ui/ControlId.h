#pragma once

class QWidget;

namespace solvane::ui {

// Controls keep the number their dialog template gives them, so a dialog can find a control by
// number the way its message handlers name it (1005, 1062, …).
void setControlId(QWidget& control, int id);
// The control's number, 0 when it has none.
int controlId(const QWidget& control);
// The direct child of the dialog with that number, or none.
QWidget* findControl(const QWidget& dialog, int id);

} // namespace solvane::ui
