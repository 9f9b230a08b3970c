#pragma once

#include "ui/CAMSEdit.h"

namespace solvane::ui {

// An edit that refuses a set of characters and holds at most a given number of them, used for
// the PCI page's number entries. Typing an invalid character beeps; a full text overwrites the
// character at the caret; pasted or set text loses its invalid characters silently.
class CAMSAlphanumericEdit : public CAMSEdit, public CAMSEdit::AlphanumericBehavior {
    Q_OBJECT
public:
    explicit CAMSAlphanumericEdit(int maxChars = 0, const QString& invalidChars = {},
                                  QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace solvane::ui
