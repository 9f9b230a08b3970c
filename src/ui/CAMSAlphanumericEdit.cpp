#include "ui/CAMSAlphanumericEdit.h"

#include <QApplication>
#include <QKeyEvent>

namespace solvane::ui {

CAMSAlphanumericEdit::CAMSAlphanumericEdit(int maxChars, const QString& invalidChars, QWidget* parent)
    : CAMSEdit(parent), CAMSEdit::AlphanumericBehavior(*this, maxChars, invalidChars) {
    // Every other way in (paste, set text, drag and drop) is filtered once it has happened.
    connect(this, &QLineEdit::textChanged, this, [this] { refilter(); });
}

void CAMSAlphanumericEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (isReadOnly() || typed.size() != 1 || !typed[0].isPrint()) {
        CAMSEdit::keyPressEvent(event);
        return;
    }
    switch (actionFor(typed[0], static_cast<int>(text().size()), cursorPosition(), hasSelectedText())) {
    case CharacterAction::Refuse:
        QApplication::beep();
        event->accept();
        return;
    case CharacterAction::Overwrite:
        setSelection(cursorPosition(), 1);
        insert(typed);
        event->accept();
        return;
    case CharacterAction::Insert:
        CAMSEdit::keyPressEvent(event);
        return;
    }
}

} // namespace solvane::ui
