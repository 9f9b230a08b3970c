#include "ui/CAMSEdit.h"

#include <algorithm>

namespace solvane::ui {

CAMSEdit::CAMSEdit(QWidget* parent) : QLineEdit(parent) {}

void CAMSEdit::SetBackgroundColor(std::optional<ColorRef> color) {
    m_background = color;
    applyColors();
}

void CAMSEdit::SetTextColor(ColorRef color) {
    m_textColor = color;
    applyColors();
}

void CAMSEdit::applyColors() {
    // Like the edit's answer to its parent's colour request: nothing changes until a background
    // is set, and a zero text colour keeps the current one.
    if (!m_background)
        return;
    QPalette colors = palette();
    colors.setColor(QPalette::Base, m_background->toQColor());
    if (m_textColor != ColorRef())
        colors.setColor(QPalette::Text, m_textColor.toQColor());
    setPalette(colors);
}

CAMSEdit::AlphanumericBehavior::AlphanumericBehavior(CAMSEdit& edit, int maxChars,
                                                     const QString& invalidChars)
    : Behavior(edit), m_maxChars(std::max(maxChars, 0)), m_invalidChars(invalidChars) {}

void CAMSEdit::AlphanumericBehavior::SetInvalidCharacters(const QString& invalidChars) {
    if (invalidChars == m_invalidChars)
        return;
    m_invalidChars = invalidChars;
    refilter();
}

void CAMSEdit::AlphanumericBehavior::SetMaxCharacters(int maxChars) {
    m_maxChars = std::max(maxChars, 0);
    refilter();
}

QString CAMSEdit::AlphanumericBehavior::filter(const QString& text) const {
    // Invalid characters go first, so a valid character behind them still fits the length.
    QString valid;
    valid.reserve(text.size());
    for (const QChar c : text)
        if (!m_invalidChars.contains(c))
            valid += c;
    if (m_maxChars > 0)
        valid.truncate(m_maxChars);
    return valid;
}

CAMSEdit::AlphanumericBehavior::CharacterAction
CAMSEdit::AlphanumericBehavior::actionFor(QChar typed, int textLength, int caret, bool hasSelection) const {
    if (m_invalidChars.contains(typed))
        return CharacterAction::Refuse;
    if (m_maxChars == 0 || textLength < m_maxChars || hasSelection || !typed.isPrint())
        return CharacterAction::Insert;
    // A full text takes a printable character only in place of the one at the caret; at the end
    // the character would make the text longer than its limit.
    return caret < m_maxChars ? CharacterAction::Overwrite : CharacterAction::Refuse;
}

void CAMSEdit::AlphanumericBehavior::refilter() {
    const QString text = m_edit.text();
    const QString valid = filter(text);
    if (valid != text)
        m_edit.setText(valid);
}

} // namespace solvane::ui
