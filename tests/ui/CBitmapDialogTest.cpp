#include "ui/CBitmapDialog.h"

#include "WidgetInput.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

using test::render;
using test::solidImage;

constexpr ColorRef kRed{0x0000FF};

// A 60 x 40 picture: red (transparent) everywhere except a 40 x 20 block at (10, 10).
QImage shapePicture() {
    QImage picture = solidImage(60, 40, Qt::red);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 50; ++x)
            picture.setPixelColor(x, y, QColor(30, 60, 90));
    return picture;
}

TEST(CBitmapDialog, PaintsTheBitmapUnscaledAndLeavesTheRestToTheDefaultBackground) {
    CBitmapDialog dialog;
    dialog.resize(100, 80);
    dialog.SetBitmap(solidImage(50, 40, QColor(10, 200, 30)), CBitmapDialog::Ownership::Copy);

    const QImage shown = render(dialog);

    EXPECT_EQ(shown.pixelColor(0, 0), QColor(10, 200, 30));
    EXPECT_EQ(shown.pixelColor(49, 39), QColor(10, 200, 30));
    const QColor background = dialog.palette().color(QPalette::Window);
    EXPECT_EQ(shown.pixelColor(50, 20), background);
    EXPECT_EQ(shown.pixelColor(99, 79), background);
    EXPECT_TRUE(dialog.mask().isEmpty()) << "not shaped: the whole window stays";
}

TEST(CBitmapDialog, ShapedFollowsTheOpaquePixelsOfABitmapSmallerThanTheWindow) {
    CBitmapDialog dialog;
    dialog.resize(100, 80);
    dialog.SetTransparentColor(kRed);
    dialog.SetBitmap(shapePicture(), CBitmapDialog::Ownership::Copy);
    dialog.SetShaped(true);

    EXPECT_EQ(dialog.mask(), QRegion(10, 10, 40, 20)) << "only the bitmap's area can become visible";

    dialog.SetShaped(false);
    EXPECT_TRUE(dialog.mask().isEmpty());
}

TEST(CBitmapDialog, EverySetterRebuildsTheShape) {
    CBitmapDialog dialog;
    dialog.resize(60, 40);
    dialog.SetShaped(true);
    EXPECT_TRUE(dialog.mask().isEmpty()) << "no bitmap, no shape";

    const QImage picture = shapePicture();
    dialog.SetBitmap(picture, CBitmapDialog::Ownership::Reference);
    EXPECT_EQ(dialog.mask(), QRegion(10, 10, 40, 20));
    EXPECT_FALSE(dialog.ownsBitmap());

    // With the block's colour as the transparent one, the red surround becomes the shape.
    dialog.SetTransparentColor(ColorRef::fromRgb(30, 60, 90));
    EXPECT_EQ(dialog.mask(), QRegion(0, 0, 60, 40).subtracted(QRegion(10, 10, 40, 20)));

    dialog.FreeBitmap();
    EXPECT_TRUE(dialog.mask().isEmpty());
    EXPECT_EQ(dialog.bitmap(), nullptr);
}

TEST(CBitmapDialog, ABackgroundFileThatCannotBeLoadedLeavesNoBackground) {
    test::TempFolder folder;
    const QString good = QString::fromStdString((folder / "good.bmp").string());
    ASSERT_TRUE(solidImage(8, 8, Qt::blue).save(good, "BMP"));
    test::writeFile(folder / "broken.bmp", "BM not really a bitmap");

    CBitmapDialog dialog;
    ASSERT_TRUE(dialog.SetBitmap(good));
    ASSERT_NE(dialog.bitmap(), nullptr);
    EXPECT_TRUE(dialog.ownsBitmap());
    EXPECT_EQ(dialog.bitmap()->pixelColor(3, 3), QColor(Qt::blue));

    EXPECT_FALSE(dialog.SetBitmap(QString::fromStdString((folder / "broken.bmp").string())));
    EXPECT_EQ(dialog.bitmap(), nullptr);
    EXPECT_FALSE(dialog.SetBitmap(QString::fromStdString((folder / "missing.bmp").string())));
    EXPECT_FALSE(dialog.SetBitmap(99999, SkinResources(folder.path())));
}

// A 70 x 40 dialog whose background is a file of its size.
struct FileBackground {
    FileBackground() {
        EXPECT_TRUE(solidImage(70, 40, QColor(40, 80, 120)).save(file, "BMP"));
        dialog.resize(70, 40);
        EXPECT_TRUE(dialog.SetBitmap(file));
    }

    test::TempFolder folder;
    const QString file = QString::fromStdString((folder / "Page_Background.bmp").string());
    CBitmapDialog dialog;
};

TEST(CBitmapDialog, ABackgroundFileIsDecodedOnlyWhileTheDialogIsDrawn) {
    FileBackground background;
    const QString& file = background.file;
    CBitmapDialog& dialog = background.dialog;
    EXPECT_FALSE(bitmapFileDecoded(file)) << "only the header was read";
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_OpaquePaintEvent)) << "its size alone says it covers the dialog";

    dialog.show();
    const QImage shown = render(dialog);
    EXPECT_EQ(shown.pixelColor(69, 39), QColor(40, 80, 120));
    EXPECT_TRUE(bitmapFileDecoded(file));

    dialog.hide();
    EXPECT_FALSE(bitmapFileDecoded(file)) << "hidden, it holds no picture";
    dialog.show();
    EXPECT_EQ(render(dialog), shown) << "drawn the same when shown again";
    EXPECT_TRUE(dialog.ownsBitmap());
}

TEST(CBitmapDialog, ABackgroundFileGoneBeforeItIsDrawnLeavesTheDefaultBackground) {
    FileBackground background;
    std::filesystem::remove(background.folder / "Page_Background.bmp");

    EXPECT_EQ(background.dialog.bitmap(), nullptr);
    EXPECT_EQ(render(background.dialog).pixelColor(35, 20),
              background.dialog.palette().color(QPalette::Window));
}

TEST(CBitmapDialog, StaticTextsFollowTheTransparentControlsFlag) {
    CBitmapDialog dialog;
    auto* caption = new QLabel(QStringLiteral("Caption"), &dialog);
    dialog.ensurePolished();
    caption->ensurePolished();
    EXPECT_FALSE(caption->autoFillBackground());

    dialog.SetStaticTransparent(false);
    EXPECT_TRUE(caption->autoFillBackground());
}

TEST(CBitmapDialog, ALeftClickOnTheBackgroundDragsTheWindowWhenAsked) {
    // Window-system moves need a window manager; the offscreen platform moves by hand.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
        GTEST_SKIP() << "dragging by hand is what the offscreen platform does";
    CBitmapDialog dialog;
    dialog.resize(100, 80);
    dialog.move(200, 150);

    test::mousePress(dialog, {10, 10});
    test::mouseMove(dialog, {40, 30}, Qt::LeftButton);
    test::mouseRelease(dialog, {40, 30});
    EXPECT_EQ(dialog.pos(), QPoint(200, 150)) << "no drag flag, no move";

    dialog.SetClickAnywhereMove(true);
    test::mousePress(dialog, {10, 10});
    test::mouseMove(dialog, {40, 30}, Qt::LeftButton);
    test::mouseRelease(dialog, {40, 30});
    EXPECT_EQ(dialog.pos(), QPoint(230, 170));
}

TEST(CBitmapDialog, AClickWithoutAMoveNeverStartsADragAndAReleaseEndsOne) {
    if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
        GTEST_SKIP() << "dragging by hand is what the offscreen platform does";
    CBitmapDialog dialog;
    dialog.SetClickAnywhereMove(true);
    dialog.resize(100, 80);
    dialog.move(200, 150);

    // A click as the pointer arrives, then the pointer goes on with no button held.
    test::click(dialog, {60, 50});
    test::mouseMove(dialog, {90, 70});
    EXPECT_EQ(dialog.pos(), QPoint(200, 150)) << "the window followed the pointer after a click";
    // A tremble of the hand within a click is no drag either.
    test::mousePress(dialog, {60, 50});
    test::mouseMove(dialog, {61, 50}, Qt::LeftButton);
    test::mouseRelease(dialog, {61, 50});
    test::mouseMove(dialog, {90, 70});
    EXPECT_EQ(dialog.pos(), QPoint(200, 150));

    // A real drag stops at the release, wherever the pointer is then.
    test::mousePress(dialog, {10, 10});
    test::mouseMove(dialog, {40, 30}, Qt::LeftButton);
    test::mouseRelease(dialog, {40, 30});
    ASSERT_EQ(dialog.pos(), QPoint(230, 170));
    test::mouseMove(dialog, {70, 60});
    EXPECT_EQ(dialog.pos(), QPoint(230, 170));
    // A release the window never saw: the next move without the button ends the drag too.
    test::mousePress(dialog, {10, 10});
    test::mouseMove(dialog, {20, 20}, Qt::LeftButton);
    const QPoint dragged = dialog.pos();
    test::mouseMove(dialog, {60, 60});
    EXPECT_EQ(dialog.pos(), dragged);
}

bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

TEST(CBitmapDialog, TheWindowReallyTakesItsShapeOnTheScreen) {
    if (std::getenv("DISPLAY") == nullptr || QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "window shapes need an X server (run the suite under xvfb-run)";
    // A green window behind, the shaped window in front: outside the shape the green shows.
    QWidget behind(nullptr, Qt::FramelessWindowHint);
    behind.setStyleSheet(QStringLiteral("background: rgb(0, 255, 0);"));
    behind.setGeometry(100, 100, 60, 40);
    behind.show();
    CBitmapDialog dialog(nullptr, Qt::FramelessWindowHint);
    dialog.setGeometry(100, 100, 60, 40);
    dialog.SetBitmap(shapePicture(), CBitmapDialog::Ownership::Copy);
    dialog.SetTransparentColor(kRed);
    dialog.SetShaped(true);
    dialog.show();
    ASSERT_TRUE(
        waitUntil([&] { return dialog.windowHandle() != nullptr && dialog.windowHandle()->isExposed(); }));

    QImage screen;
    ASSERT_TRUE(waitUntil([&] {
        screen = QGuiApplication::primaryScreen()->grabWindow(0, 100, 100, 60, 40).toImage();
        return screen.pixelColor(30, 20) == QColor(30, 60, 90) &&
               screen.pixelColor(2, 2) == QColor(0, 255, 0);
    })) << "inside the shape: the bitmap; outside: the window behind";
    EXPECT_EQ(screen.pixelColor(55, 35), QColor(0, 255, 0));
}

} // namespace
} // namespace solvane::ui
