#include "ui/SkinRegion.h"

#include "WidgetInput.h"

#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

using test::solidImage;

constexpr ColorRef kRed{0x0000FF};

TEST(SkinRegion, EachMaximalRunOfOpaquePixelsIsOneRectangle) {
    QImage picture = solidImage(10, 3, Qt::red);
    // Row 0: pixels 2..4 and 7..9 opaque; row 1 entirely transparent; row 2: pixel 0 alone.
    for (int x : {2, 3, 4, 7, 8, 9})
        picture.setPixelColor(x, 0, Qt::darkGray);
    picture.setPixelColor(0, 2, Qt::white);

    const auto runs = opaqueRuns(picture, kRed, picture.size());

    ASSERT_EQ(runs.size(), 3U);
    EXPECT_EQ(runs[0], QRect(2, 0, 3, 1));
    EXPECT_EQ(runs[1], QRect(7, 0, 3, 1));
    EXPECT_EQ(runs[2], QRect(0, 2, 1, 1));
}

TEST(SkinRegion, ATransparentRowAddsNothing) {
    QImage picture = solidImage(6, 4, Qt::blue);
    for (int x = 0; x < 6; ++x)
        picture.setPixelColor(x, 2, Qt::red);

    const QRegion region = opaqueRegion(picture, kRed, picture.size());

    for (int x = 0; x < 6; ++x) {
        EXPECT_FALSE(region.contains(QPoint(x, 2))) << x;
        EXPECT_TRUE(region.contains(QPoint(x, 1))) << x;
        EXPECT_TRUE(region.contains(QPoint(x, 3))) << x;
    }
}

TEST(SkinRegion, OnlyThePartInsideTheLimitIsScanned) {
    const QImage picture = solidImage(20, 20, Qt::green);

    const QRegion region = opaqueRegion(picture, kRed, QSize(8, 5));

    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 8, 5));
    EXPECT_EQ(region, QRegion(0, 0, 8, 5));
}

TEST(SkinRegion, ComparesColoursNotAlpha) {
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.fill(QColor(255, 0, 0, 0));
    picture.setPixelColor(1, 0, QColor(255, 0, 1, 255));

    const auto runs = opaqueRuns(picture, kRed, picture.size());

    ASSERT_EQ(runs.size(), 1U);
    EXPECT_EQ(runs[0], QRect(1, 0, 1, 1));
}

} // namespace
} // namespace solvane::ui
