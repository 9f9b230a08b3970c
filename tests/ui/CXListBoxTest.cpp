#include "ui/CXListBox.h"

#include "WidgetInput.h"

#include <QClipboard>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

TEST(ColorLine, StoresBothColourIndexesPlusOneBeforeTheText) {
    const QString stored = encodeColorLine(13, 12, QStringLiteral("1.350V"));
    EXPECT_EQ(stored.at(0).unicode(), 14);
    EXPECT_EQ(stored.at(1).unicode(), 13);
    EXPECT_EQ(stored.mid(2), QStringLiteral("1.350V"));

    const ColorLine line = decodeColorLine(stored);
    EXPECT_EQ(line.textIndex, 13);
    EXPECT_EQ(line.backIndex, 12);
    EXPECT_EQ(line.text, QStringLiteral("1.350V"));
}

TEST(ColorLine, OutOfRangeIndexesBecomePlainAndLineBreaksBlanks) {
    const ColorLine line = decodeColorLine(encodeColorLine(20, 16, QStringLiteral("a\r\nb\nc")));
    EXPECT_EQ(line.textIndex, 0) << "a text colour above 15 is black";
    EXPECT_EQ(line.backIndex, 1) << "a background colour above 15 is white";
    EXPECT_EQ(line.text, QStringLiteral("a  b c"));
    EXPECT_EQ(decodeColorLine(encodeColorLine(-1, -5, {})).textIndex, 0);
    EXPECT_EQ(decodeColorLine(QStringLiteral("x")).text, QStringLiteral("x"))
        << "too short for colours: plain";
}

TEST(ColorLine, TheSixteenColoursAreTheStoredValues) {
    EXPECT_EQ(kListColors[13].toQColor(), QColor(0, 0, 255)) << "0xFF0000 is blue";
    EXPECT_EQ(kListColors[10].toQColor(), QColor(255, 0, 0)) << "0x0000FF is red";
    EXPECT_EQ(kListColors[2].toQColor(), QColor(128, 0, 0));
}

TEST(CXListBox, DrawsEachLineInItsColoursAndIndex20InBlack) {
    CXListBox list;
    list.resize(200, 120);
    test::useCrispFont(list);
    list.AddLine(20, 13, QStringLiteral("WWWWWWWW"));
    list.scrollToTop();

    const QRect row = list.visualItemRect(list.item(0));
    const QImage shown = test::render(*list.viewport());
    QSet<QRgb> colours;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x < row.left() + 120; ++x)
            colours.insert(shown.pixel(x, y) & RGB_MASK);
    EXPECT_EQ(colours, (QSet<QRgb>{qRgb(0, 0, 255) & RGB_MASK, qRgb(0, 0, 0) & RGB_MASK}))
        << "black text on the blue background";
}

TEST(CXListBox, AFullListDropsItsOldestLinesToMakeRoom) {
    CXListBox list;
    list.SetMaxLines(30);
    for (int i = 0; i < 30; ++i)
        list.AddString(QStringLiteral("line %1").arg(i));
    ASSERT_EQ(list.count(), 30);

    list.AddString(QStringLiteral("line 30"));

    EXPECT_EQ(list.count(), 11) << "the oldest 20 went";
    EXPECT_EQ(list.line(0).text, QStringLiteral("line 20"));
    EXPECT_EQ(list.line(10).text, QStringLiteral("line 30"));
}

TEST(CXListBox, ASmallFullListDropsAllButOneLineAndATinyOneGivesUp) {
    CXListBox list;
    list.SetMaxLines(5);
    for (int i = 0; i < 6; ++i)
        list.AddString(QString::number(i));
    EXPECT_EQ(list.count(), 2) << "min(20, 5 - 1) = 4 lines dropped";
    EXPECT_EQ(list.line(0).text, QStringLiteral("4"));

    CXListBox tiny;
    tiny.SetMaxLines(1);
    tiny.AddString(QStringLiteral("first"));
    tiny.AddString(QStringLiteral("second"));
    EXPECT_EQ(tiny.count(), 1);
    EXPECT_EQ(tiny.line(0).text, QStringLiteral("first"));
}

TEST(CXListBox, ColourModeOffMakesEveryLinePlain) {
    CXListBox list;
    list.EnableColor(false);
    list.AddLine(13, 12, QStringLiteral("plain"));
    EXPECT_EQ(list.line(0).textIndex, 0);
    EXPECT_EQ(list.line(0).backIndex, 1);
}

TEST(CXListBox, TheHorizontalExtentFollowsTheWidestLineUntilCleared) {
    CXListBox list;
    list.AddString(QStringLiteral("short"));
    const int shortExtent = list.horizontalExtent();
    EXPECT_GT(shortExtent, 0);
    list.AddString(QStringLiteral("a much, much longer line than the first one"));
    const int longExtent = list.horizontalExtent();
    EXPECT_GT(longExtent, shortExtent);
    list.AddString(QStringLiteral("tiny"));
    EXPECT_EQ(list.horizontalExtent(), longExtent);

    list.Clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.horizontalExtent(), 0);
}

TEST(CXListBox, TabStopsAreEightDigitsApart) {
    CXListBox list;
    const int digit = QFontMetrics(list.font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(list.tabStops()[0], 8 * digit);
    EXPECT_EQ(list.tabStops()[99], 100 * 8 * digit);
    list.SetTabSize(4);
    EXPECT_EQ(list.tabStops()[2], 3 * 4 * digit);
}

TEST(CXListBox, SelectAllCopyAndClearCommands) {
    CXListBox list;
    list.AddLine(11, 1, QStringLiteral("first"));
    list.AddLine(0, 1, QStringLiteral("second"));
    EXPECT_TRUE(list.selectedItems().isEmpty()) << "adding clears the selection";

    list.OnCommand(CXListBox::kCommandSelectAll);
    EXPECT_EQ(list.selectedItems().size(), 2);
    list.OnCommand(CXListBox::kCommandCopy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("first\nsecond\n"));
    list.OnCommand(CXListBox::kCommandClear);
    EXPECT_EQ(list.count(), 0);
}

} // namespace
} // namespace solvane::ui
