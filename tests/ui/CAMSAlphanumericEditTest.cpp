#include "ui/CAMSAlphanumericEdit.h"

#include "WidgetInput.h"

#include <QClipboard>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

// Every keyboard character except the hexadecimal digits, as the PCI page's number entries use.
QString allButHexDigits() {
    QString invalid;
    for (char c = ' '; c <= '~'; ++c)
        if (!QChar(c).isDigit() && !QString::fromLatin1("abcdefABCDEF").contains(QChar(c)))
            invalid += QChar(c);
    return invalid;
}

void type(CAMSAlphanumericEdit& edit, const QString& text) {
    for (const QChar c : text)
        test::key(edit, Qt::Key_unknown, QString(c));
}

TEST(CAMSAlphanumericEdit, AFullTextOverwritesTheCharacterAtTheCaret) {
    CAMSAlphanumericEdit edit(2, {});
    edit.setText(QStringLiteral("0A"));
    edit.setCursorPosition(0);

    type(edit, QStringLiteral("B"));

    EXPECT_EQ(edit.text(), QStringLiteral("BA"));
    EXPECT_EQ(edit.cursorPosition(), 1);
}

TEST(CAMSAlphanumericEdit, AFullTextTakesNothingMoreAtItsEnd) {
    CAMSAlphanumericEdit edit(2, {});
    edit.setText(QStringLiteral("0A"));
    edit.setCursorPosition(2);
    type(edit, QStringLiteral("7"));
    EXPECT_EQ(edit.text(), QStringLiteral("0A"));

    edit.setSelection(0, 1);
    type(edit, QStringLiteral("7"));
    EXPECT_EQ(edit.text(), QStringLiteral("7A")) << "a selection is replaced as usual";
}

TEST(CAMSAlphanumericEdit, InvalidCharactersAreRefusedWhenTyped) {
    CAMSAlphanumericEdit edit(2, allButHexDigits());
    type(edit, QStringLiteral("zG1x"));
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    type(edit, QStringLiteral("f"));
    EXPECT_EQ(edit.text(), QStringLiteral("1f"));
}

TEST(CAMSAlphanumericEdit, PastedAndSetTextLosesItsInvalidCharacters) {
    CAMSAlphanumericEdit edit(2, allButHexDigits());
    QApplication::clipboard()->setText(QStringLiteral("1G2"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("12"));

    edit.setText(QStringLiteral("x9-Z3"));
    EXPECT_EQ(edit.text(), QStringLiteral("93"));
    edit.setText(QStringLiteral("abc"));
    EXPECT_EQ(edit.text(), QStringLiteral("ab")) << "cut to the maximum length";
}

TEST(CAMSAlphanumericEdit, ChangingTheInvalidSetFiltersTheTextAgain) {
    CAMSAlphanumericEdit edit(0, {});
    edit.setText(QStringLiteral("A1-B2"));
    EXPECT_EQ(edit.GetValidText(), QStringLiteral("A1-B2"));

    edit.SetInvalidCharacters(QStringLiteral("-AB"));
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
    EXPECT_EQ(edit.GetInvalidCharacters(), QStringLiteral("-AB"));
}

TEST(CAMSAlphanumericEdit, ReadOnlyTakesNoTyping) {
    CAMSAlphanumericEdit edit(2, {});
    edit.setReadOnly(true);
    type(edit, QStringLiteral("1"));
    EXPECT_TRUE(edit.text().isEmpty());
}

TEST(AlphanumericBehavior, DecidesWhatATypedCharacterDoes) {
    CAMSAlphanumericEdit edit(3, QStringLiteral("#"));
    using Action = CAMSEdit::AlphanumericBehavior::CharacterAction;
    EXPECT_EQ(edit.actionFor(u'#', 0, 0, false), Action::Refuse);
    EXPECT_EQ(edit.actionFor(u'a', 2, 2, false), Action::Insert);
    EXPECT_EQ(edit.actionFor(u'a', 3, 1, false), Action::Overwrite);
    EXPECT_EQ(edit.actionFor(u'a', 3, 3, false), Action::Refuse);
    EXPECT_EQ(edit.actionFor(u'a', 3, 3, true), Action::Insert);
    EXPECT_EQ(edit.filter(QStringLiteral("#a#b#cd")), QStringLiteral("abc"));
}

TEST(CAMSEdit, ColoursApplyOnceABackgroundIsSet) {
    CAMSEdit edit;
    const QColor before = edit.palette().color(QPalette::Text);
    edit.SetTextColor(ColorRef(0x0000FF));
    EXPECT_EQ(edit.palette().color(QPalette::Text), before) << "no background brush yet";

    edit.SetBackgroundColor(ColorRef(0x202020));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(0x20, 0x20, 0x20));
    EXPECT_EQ(edit.palette().color(QPalette::Text), QColor(255, 0, 0));
}

} // namespace
} // namespace solvane::ui
