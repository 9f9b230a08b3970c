#include "ui/Palette.h"

#include "WidgetInput.h"
#include "ui/SkinTheme.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <memory>

namespace solvane::ui::palette {
namespace {

TEST(Palette, StyleSheetsSpellTheSkinColours) {
    EXPECT_EQ(css(kAccent).toStdString(), "#2ec4dc");
    EXPECT_EQ(kAccent.value(), 0xDCC42EU) << "red in the low byte";
    EXPECT_EQ(captionStyle().toStdString(), "color: #8d99a7; font-size: 11px;");
    EXPECT_EQ(titledGroupFrameStyle().toStdString(), "QGroupBox { border: 1px solid #333d49; border-radius: "
                                                     "6px; } QGroupBox::title { color: transparent; }");
    EXPECT_EQ(
        dropDownStyle().toStdString(),
        "QComboBox { color: #2ec4dc; background: #1b222b; border: 1px solid #333d49; padding: 1px 6px; }");
}

TEST(Palette, ContrastRatiosFollowTheUsualFormula) {
    EXPECT_NEAR(contrastRatio(ColorRef(0x000000), ColorRef(0xFFFFFF)), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(ColorRef(0x777777), ColorRef(0x777777)), 1.0, 1e-9);
    EXPECT_NEAR(contrastRatio(ColorRef(0xFFFFFF), ColorRef(0x777777)), 4.48, 0.01) << "grey 0x77 on white";
    EXPECT_DOUBLE_EQ(contrastRatio(kText, kField), contrastRatio(kField, kText));
}

TEST(Palette, EveryTextReadsOnItsGround) {
    for (const auto& pair : kTextOnGround)
        EXPECT_GE(contrastRatio(pair.text, pair.ground), 4.5) << pair.name;
}

// The colour list on the dark skin: each index as text on the list's own field, and white (the
// current value's and the out-of-range entries' text) on each ground.
TEST(Palette, TheColourListReadsOnTheDarkGround) {
    for (std::size_t i = 0; i < kListTextOnDark.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(contrastRatio(kListTextOnDark[i], kListGroundOnDark[1]), 4.5) << "text on the field";
        EXPECT_LT(contrastRatio(kListGroundOnDark[i], kInk), 3.0) << "a deep ground";
    }
}

// The plain controls take the skin's colours, whatever theme the desktop has.
class SkinThemed : public ::testing::Test {
protected:
    template <class Widget> Widget& themed(std::unique_ptr<Widget>& widget) {
        widget = std::make_unique<Widget>();
        widget->setStyle(m_style.get());
        widget->setPalette(ui::skinPalette());
        widget->setStyleSheet(ui::skinControlsStyle());
        for (auto* child : widget->template findChildren<QWidget*>())
            child->setStyle(m_style.get());
        return *widget;
    }

    std::unique_ptr<QStyle> m_style{QStyleFactory::create(QStringLiteral("Fusion"))};
};

TEST_F(SkinThemed, SpinBoxArrowsShowOnTheDarkField) {
    std::unique_ptr<QSpinBox> spin;
    auto& box = themed(spin);
    box.resize(90, 24);
    box.setRange(0, 100);
    box.setValue(50);
    const QImage picture = test::render(box);
    // The arrows' column at the right: some pixel there must stand out from the field.
    const ColorRef field = ColorRef::fromQColor(ui::skinPalette().color(QPalette::Base));
    double strongest = 1;
    for (int y = 2; y < picture.height() - 2; ++y)
        for (int x = picture.width() - 14; x < picture.width() - 2; ++x)
            strongest =
                std::max(strongest, contrastRatio(ColorRef::fromQColor(picture.pixelColor(x, y)), field));
    EXPECT_GE(strongest, 3.0) << "no visible arrow";
    EXPECT_LT(contrastRatio(ColorRef::fromQColor(picture.pixelColor(50, 3)), kInk), 2.0) << "a dark field";
}

TEST_F(SkinThemed, NumberFieldsAndDropDownListsAreDark) {
    std::unique_ptr<QLineEdit> edit;
    auto& field = themed(edit);
    field.resize(40, 22);
    const QImage picture = test::render(field);
    EXPECT_LT(contrastRatio(ColorRef::fromQColor(picture.pixelColor(20, 11)), kInk), 2.0);

    std::unique_ptr<QComboBox> combo;
    auto& dropDown = themed(combo);
    dropDown.addItems({QStringLiteral("Slot 1"), QStringLiteral("Slot 2")});
    dropDown.resize(120, 22);
    dropDown.show();
    dropDown.showPopup();
    const QImage entries = dropDown.view()->viewport()->grab().toImage();
    dropDown.hidePopup();
    ASSERT_FALSE(entries.isNull());
    EXPECT_LT(contrastRatio(
                  ColorRef::fromQColor(entries.pixelColor(entries.width() - 4, entries.height() - 4)), kInk),
              2.0)
        << "the list of a drop-down on a dark ground";
}

} // namespace
} // namespace solvane::ui::palette
