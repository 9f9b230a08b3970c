#include "ui/SharedSkinPictures.h"

#include "WidgetInput.h"
#include "support/TempFolder.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <optional>

namespace solvane::ui {
namespace {

using test::solidImage;

QString saved(const test::TempFolder& folder, const char* name, const QImage& picture) {
    const QString path = QString::fromStdString((folder / name).string());
    EXPECT_TRUE(picture.save(path, "BMP"));
    return path;
}

TEST(SharedSkinPictures, OneFileIsDecodedOnceAndDroppedWithItsLastHolder) {
    test::TempFolder folder;
    const QString path = saved(folder, "Value_Default.bmp", solidImage(30, 20, QColor(10, 200, 30)));
    EXPECT_FALSE(bitmapFileDecoded(path));

    std::optional<QImage> first = loadBitmapFile(path);
    std::optional<QImage> second = loadBitmapFile(path);
    EXPECT_EQ(first->constBits(), second->constBits()) << "both draw the same pixels";
    EXPECT_EQ(first->format(), QImage::Format_RGB32) << "kept as it is drawn";
    EXPECT_EQ(first->pixelColor(29, 19), QColor(10, 200, 30));
    EXPECT_TRUE(bitmapFileDecoded(path));

    first.reset();
    EXPECT_TRUE(bitmapFileDecoded(path)) << "still held by one";
    second.reset();
    EXPECT_FALSE(bitmapFileDecoded(path)) << "nobody draws it any more";
    EXPECT_EQ(loadBitmapFile(path).pixelColor(0, 0), QColor(10, 200, 30)) << "decoded again when asked";
}

TEST(SharedSkinPictures, PaintingIntoAHandedOutPictureLeavesTheOthersAlone) {
    test::TempFolder folder;
    const QString path = saved(folder, "Spot_CPU_Default.bmp", solidImage(8, 8, Qt::blue));
    QImage painted = loadBitmapFile(path);
    const QImage other = loadBitmapFile(path);
    QPainter(&painted).fillRect(0, 0, 8, 8, Qt::yellow);
    EXPECT_EQ(painted.pixelColor(4, 4), QColor(Qt::yellow));
    EXPECT_EQ(other.pixelColor(4, 4), QColor(Qt::blue));
    EXPECT_EQ(loadBitmapFile(path).pixelColor(4, 4), QColor(Qt::blue));
}

TEST(SharedSkinPictures, AFileReplacedOnDiskIsDecodedAfresh) {
    test::TempFolder folder;
    const QString path = saved(folder, "Page_Background.bmp", solidImage(8, 8, Qt::blue));
    const QImage before = loadBitmapFile(path);
    saved(folder, "Page_Background.bmp", solidImage(9, 8, Qt::green));

    const QImage after = loadBitmapFile(path);
    EXPECT_EQ(after.size(), QSize(9, 8));
    EXPECT_EQ(after.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(before.pixelColor(0, 0), QColor(Qt::blue)) << "what was handed out stays as it was";
}

TEST(SharedSkinPictures, MissingOrBrokenFilesGiveNoPicture) {
    test::TempFolder folder;
    const QString path = saved(folder, "EXIT_Default.bmp", solidImage(8, 8, Qt::blue));
    const QImage held = loadBitmapFile(path);
    std::filesystem::remove(folder / "EXIT_Default.bmp");
    EXPECT_TRUE(loadBitmapFile(path).isNull()) << "gone from disk, though still held";

    test::writeFile(folder / "broken.bmp", "BM not really a bitmap");
    EXPECT_TRUE(loadBitmapFile(QString::fromStdString((folder / "broken.bmp").string())).isNull());
    EXPECT_FALSE(bitmapFileDecoded(QString::fromStdString((folder / "broken.bmp").string())));
}

} // namespace
} // namespace solvane::ui
