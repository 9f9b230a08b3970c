#include "ui/CxSkinButton.h"

#include "WidgetInput.h"
#include "support/TempFolder.h"
#include "ui/SkinCatalogue.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

using test::render;
using test::solidImage;

const QColor kNormal(40, 40, 40);
const QColor kPressed(200, 0, 0);
const QColor kHover(0, 200, 0);
const QColor kDisabled(0, 0, 200);

CxSkinButton::SkinPictures fourStates(QSize size = {30, 20}) {
    return {solidImage(size.width(), size.height(), kNormal),
            solidImage(size.width(), size.height(), kPressed),
            solidImage(size.width(), size.height(), kHover),
            solidImage(size.width(), size.height(), kDisabled),
            {},
            {}};
}

// A button skinned with one colour per state, inside a parent so that radio partners exist.
struct SkinnedButton {
    explicit SkinnedButton(CxSkinButton::Kind kind = CxSkinButton::Kind::PushButton) : button(&parent, kind) {
        parent.resize(200, 100);
        button.setGeometry(10, 10, 30, 20);
        button.SetSkin(fourStates());
    }
    QColor shown() { return render(button).pixelColor(15, 10); }

    QWidget parent;
    CxSkinButton button;
};

TEST(CxSkinButton, HoverLooksFollowTheMouse) {
    SkinnedButton skinned;
    EXPECT_EQ(skinned.shown(), kNormal);

    test::mouseMove(skinned.button, {5, 5});
    EXPECT_TRUE(skinned.button.isHovering());
    EXPECT_EQ(skinned.shown(), kHover);

    test::mouseLeave(skinned.button);
    EXPECT_FALSE(skinned.button.isHovering());
    EXPECT_EQ(skinned.shown(), kNormal);
}

TEST(CxSkinButton, ThePushedLookFollowsTheCursorWhileTheButtonHoldsTheMouse) {
    SkinnedButton skinned;
    int clicks = 0;
    QObject::connect(&skinned.button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    test::mouseMove(skinned.button, {5, 5});
    test::mousePress(skinned.button, {5, 5});
    EXPECT_TRUE(skinned.button.isHeldByMouse());
    EXPECT_FALSE(skinned.button.isHovering()) << "pressing ends hover tracking";
    EXPECT_EQ(skinned.shown(), kPressed);

    test::mouseMove(skinned.button, {60, 5}, Qt::LeftButton);
    EXPECT_FALSE(skinned.button.isDown());
    EXPECT_EQ(skinned.shown(), kNormal);
    EXPECT_FALSE(skinned.button.isHovering()) << "moving while pressed does not hover";

    test::mouseMove(skinned.button, {6, 6}, Qt::LeftButton);
    EXPECT_TRUE(skinned.button.isDown());
    EXPECT_EQ(skinned.shown(), kPressed);

    test::mouseRelease(skinned.button, {6, 6});
    EXPECT_FALSE(skinned.button.isHeldByMouse());
    EXPECT_EQ(clicks, 1);
    test::mouseMove(skinned.button, {7, 7});
    EXPECT_EQ(skinned.shown(), kHover) << "the next move hovers again";
}

TEST(CxSkinButton, ReleasingOutsideACheckBoxLeavesItAlone) {
    SkinnedButton skinned(CxSkinButton::Kind::CheckBox);
    int clicks = 0;
    QObject::connect(&skinned.button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    test::mousePress(skinned.button, {5, 5});
    test::mouseMove(skinned.button, {60, 5}, Qt::LeftButton);
    test::mouseRelease(skinned.button, {60, 5});
    EXPECT_FALSE(skinned.button.GetCheck());
    EXPECT_EQ(clicks, 0);

    test::click(skinned.button, {5, 5});
    EXPECT_TRUE(skinned.button.GetCheck());
    EXPECT_EQ(skinned.shown(), kPressed) << "a checked button shows its pressed picture";
    test::click(skinned.button, {5, 5});
    EXPECT_FALSE(skinned.button.GetCheck());
    EXPECT_EQ(clicks, 2);
}

TEST(CxSkinButton, CheckingARadioButtonUnchecksItsPartnersOnly) {
    QWidget dialog;
    dialog.resize(300, 100);
    CxSkinButton first(&dialog, CxSkinButton::Kind::RadioButton);
    CxSkinButton second(&dialog, CxSkinButton::Kind::RadioButton);
    CxSkinButton otherGroup(&dialog, CxSkinButton::Kind::RadioButton);
    otherGroup.SetRadioGroup(1);
    for (auto* button : {&first, &second, &otherGroup}) {
        button->resize(30, 20);
        button->SetSkin(fourStates());
    }
    first.move(0, 0);
    second.move(40, 0);
    otherGroup.move(80, 0);
    second.SetCheck(true);
    otherGroup.SetCheck(true);
    EXPECT_EQ(render(second).pixelColor(5, 5), kPressed);

    test::click(first, {5, 5});

    EXPECT_TRUE(first.GetCheck());
    EXPECT_FALSE(second.GetCheck());
    EXPECT_EQ(render(second).pixelColor(5, 5), kNormal) << "the partner repaints unchecked";
    EXPECT_TRUE(otherGroup.GetCheck()) << "another group is not a partner";

    test::click(first, {5, 5});
    EXPECT_TRUE(first.GetCheck()) << "clicking a checked radio button leaves it checked";
}

TEST(CxSkinButton, TheSpaceBarActsLikeAClick) {
    SkinnedButton skinned(CxSkinButton::Kind::CheckBox);
    int clicks = 0;
    QObject::connect(&skinned.button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    test::key(skinned.button, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_TRUE(skinned.button.GetCheck());
    EXPECT_EQ(clicks, 1);
}

TEST(CxSkinButton, APushButtonIsNeverChecked) {
    SkinnedButton skinned;
    skinned.button.SetCheck(true);
    EXPECT_FALSE(skinned.button.GetCheck());
}

TEST(CxSkinButton, LosingTheFocusWhilePressedLetsGo) {
    SkinnedButton skinned;
    test::mousePress(skinned.button, {5, 5});
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&skinned.button, &focusOut);
    EXPECT_FALSE(skinned.button.isHeldByMouse());
    EXPECT_FALSE(skinned.button.isDown());
}

TEST(CxSkinButton, DisabledShowsItsPictureOrTheNormalOneFromResources) {
    SkinnedButton skinned;
    skinned.button.setEnabled(false);
    EXPECT_EQ(skinned.shown(), kDisabled);

    test::TempFolder folder;
    ASSERT_TRUE(solidImage(30, 20, kNormal)
                    .save(QString::fromStdString((folder / "Value_Default.bmp").string()), "BMP"));
    skinned.button.SetSkin(CxSkinButton::SkinIds{420, 0, 0, 423, 0, 0}, DrawMode::Stretch,
                           CxSkinButton::Border::None, 0, SkinResources(folder.path()));
    EXPECT_EQ(skinned.shown(), kNormal) << "the missing disabled picture falls back to the normal one";

    skinned.button.setEnabled(true);
    skinned.button.SetCheck(true);
    skinned.button.setDown(true);
    EXPECT_EQ(skinned.shown(), skinned.button.palette().color(QPalette::Button))
        << "no pressed picture: the button face";
}

// A dialog lists a button's pictures as normal, pressed, hover and disabled; each shows in its state.
TEST(CxSkinButton, AListOfFourStatePicturesShowsEachInItsState) {
    test::TempFolder folder;
    const std::array<std::pair<const char*, QColor>, 4> files{{{"Value_Default.bmp", kNormal},
                                                               {"Value_Down.bmp", kPressed},
                                                               {"Value_Over.bmp", kHover},
                                                               {"Value_Disable.bmp", kDisabled}}};
    for (const auto& [file, colour] : files)
        ASSERT_TRUE(solidImage(30, 20, colour).save(QString::fromStdString((folder / file).string()), "BMP"));
    SkinnedButton skinned;
    skinned.button.SetSkin(CxSkinButton::SkinIds::ofStates(skin::kValueButtonIds), DrawMode::Stretch,
                           CxSkinButton::Border::None, 0, SkinResources(folder.path()));
    EXPECT_EQ(skinned.shown(), kNormal);
    test::mouseMove(skinned.button, {5, 5});
    EXPECT_EQ(skinned.shown(), kHover);
    test::mousePress(skinned.button, {5, 5});
    EXPECT_EQ(skinned.shown(), kPressed);
    test::mouseRelease(skinned.button, {5, 5});
    skinned.button.setEnabled(false);
    EXPECT_EQ(skinned.shown(), kDisabled);
}

TEST(CxSkinButton, TileModeRepeatsThePictureAndClipsTheLastTile) {
    // A 10-pixel-wide picture whose columns are all different, on a 25-pixel-wide button.
    QImage picture(10, 4, QImage::Format_RGB32);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 4; ++y)
            picture.setPixelColor(x, y, QColor(20 * x, 100, 0));
    QWidget parent;
    CxSkinButton button(&parent);
    button.resize(25, 4);
    button.SetSkin(CxSkinButton::SkinPictures{picture, picture, {}, {}, {}, {}}, drawModeFromNumber(7));
    EXPECT_EQ(button.drawMode(), DrawMode::Tile);

    const QImage shown = render(button);
    for (int x = 0; x < 25; ++x)
        EXPECT_EQ(shown.pixelColor(x, 2), QColor(20 * (x % 10), 100, 0)) << "column " << x;
}

TEST(CxSkinButton, TheMaskShowsTheBackgroundThroughItsWhitePixelsAndShapesTheButton) {
    QWidget parent;
    test::fillBackground(parent, {40, 20}, QColor(255, 255, 0));
    CxSkinButton button(&parent);
    button.setGeometry(0, 0, 40, 20);
    // Mask: the left half black (button), the right half white (see-through), 20 x 10.
    QImage mask = solidImage(20, 10, Qt::white);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            mask.setPixelColor(x, y, Qt::black);
    button.SetSkin(CxSkinButton::SkinPictures{solidImage(20, 10, kNormal), {}, {}, {}, {}, mask},
                   DrawMode::Copy);

    EXPECT_EQ(button.size(), QSize(20, 10)) << "copy mode takes the mask's size";
    EXPECT_EQ(button.pos(), QPoint(0, 0));
    EXPECT_EQ(button.shapeRegion(), QRegion(0, 0, 10, 10));

    const QImage shown = render(parent);
    EXPECT_EQ(shown.pixelColor(5, 5), kNormal);
    EXPECT_EQ(shown.pixelColor(15, 5), QColor(255, 255, 0));

    // Stretched, the mask stretches with the picture.
    QImage picture(20, 10, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    drawSkinPicture(painter, QRect(0, 0, 20, 10), solidImage(10, 5, kNormal), mask.scaled(10, 5),
                    DrawMode::Stretch);
    painter.end();
    EXPECT_EQ(picture.pixelColor(4, 4), kNormal);
    EXPECT_EQ(picture.pixelColor(15, 4).alpha(), 0);
}

TEST(CxSkinButton, KindsAndDrawModesFromTheirNumbers) {
    EXPECT_EQ(CxSkinButton::kindFromStyle(0x3), CxSkinButton::Kind::CheckBox);
    EXPECT_EQ(CxSkinButton::kindFromStyle(0x9), CxSkinButton::Kind::RadioButton);
    EXPECT_EQ(CxSkinButton::kindFromStyle(0x1), CxSkinButton::Kind::PushButton);
    EXPECT_EQ(CxSkinButton::kindFromStyle(0xB), CxSkinButton::Kind::CheckBox);
    EXPECT_EQ(drawModeFromNumber(-3), DrawMode::Copy);
    EXPECT_EQ(drawModeFromNumber(1), DrawMode::Stretch);
    EXPECT_EQ(drawModeFromNumber(2), DrawMode::Tile);
}

TEST(CxSkinButton, TextColourAndCursor) {
    SkinnedButton skinned;
    const ColorRef previous = skinned.button.SetTextColor(ColorRef(0x00FF00));
    EXPECT_EQ(skinned.button.SetTextColor(previous), ColorRef(0x00FF00));

    skinned.button.SetBtnCursor(skin::kHandCursorId);
    EXPECT_EQ(skinned.button.cursor().shape(), Qt::PointingHandCursor);
    skinned.button.SetBtnCursor(0);
    EXPECT_FALSE(skinned.button.testAttribute(Qt::WA_SetCursor));
}

} // namespace
} // namespace solvane::ui
