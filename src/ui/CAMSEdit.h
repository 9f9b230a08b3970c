#pragma once

#include "ui/ColorRef.h"

#include <QLineEdit>
#include <optional>

namespace solvane::ui {

// A filtered edit control: the edit itself carries the colours, and a behaviour object decides
// which characters it takes (CAMSAlphanumericEdit).
class CAMSEdit : public QLineEdit {
    Q_OBJECT
public:
    // What filters an edit's input; it lives inside the edit it serves.
    class Behavior {
    public:
        explicit Behavior(CAMSEdit& edit) : m_edit(edit) {}
        virtual ~Behavior() = default;
        Behavior(const Behavior&) = delete;
        Behavior& operator=(const Behavior&) = delete;

    protected:
        CAMSEdit& m_edit;
    };

    // Refuses a set of characters and limits the length.
    class AlphanumericBehavior : public Behavior {
    public:
        // What a typed character does to the text.
        enum class CharacterAction {
            Refuse,    // beep, the text stays
            Overwrite, // the text is full: the character replaces the one at the caret
            Insert,    // the edit inserts it as usual
        };

        AlphanumericBehavior(CAMSEdit& edit, int maxChars, const QString& invalidChars);

        // Changing the set filters the current text again.
        void SetInvalidCharacters(const QString& invalidChars);
        const QString& GetInvalidCharacters() const { return m_invalidChars; }
        void SetMaxCharacters(int maxChars);
        // 0: unlimited.
        int GetMaxCharacters() const { return m_maxChars; }
        // The edit's text without invalid characters, cut to the maximum length.
        QString GetValidText() const { return filter(m_edit.text()); }

        QString filter(const QString& text) const;
        CharacterAction actionFor(QChar typed, int textLength, int caret, bool hasSelection) const;

    protected:
        // Re-filters the edit's text after any change (paste, set text, drop).
        void refilter();

    private:
        int m_maxChars;
        QString m_invalidChars;
    };

    explicit CAMSEdit(QWidget* parent = nullptr);

    // The background behind the text; none keeps the style's.
    void SetBackgroundColor(std::optional<ColorRef> color);
    // The text colour; 0 keeps the current one.
    void SetTextColor(ColorRef color);

private:
    void applyColors();

    std::optional<ColorRef> m_background;
    ColorRef m_textColor;
};

} // namespace solvane::ui
