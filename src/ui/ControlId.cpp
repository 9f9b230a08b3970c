#include "ui/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace solvane::ui {

namespace {
constexpr const char* kControlIdProperty = "solvaneControlId";
}

void setControlId(QWidget& control, int id) {
    control.setProperty(kControlIdProperty, id);
}

int controlId(const QWidget& control) {
    return control.property(kControlIdProperty).toInt();
}

QWidget* findControl(const QWidget& dialog, int id) {
    for (auto* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (controlId(*child) == id)
            return child;
    return nullptr;
}

} // namespace solvane::ui
