#include "ui/SkinFiles.h"

#include "support/TempFolder.h"
#include "ui/BoardPictureLayout.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"
#include "ui/SkinRegion.h"
#include "ui/SkinResources.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

// The pictures skingen drew into the program's folder.
class SkinFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(m_skins.folder() / std::string(skin::kWindowBackgroundFile)))
            GTEST_SKIP() << "no skin pictures in " << m_skins.folder() << " (build the skins target)";
    }

    QString file(std::string_view name) const { return m_skins.filePath(name); }

    SkinResources m_skins{test::programFolder()};
};

TEST_F(SkinFiles, EveryCataloguePictureExistsAtItsSize) {
    for (const auto& bitmap : skin::kBitmaps) {
        const QImage picture = loadBitmapFile(file(bitmap.file));
        ASSERT_FALSE(picture.isNull()) << bitmap.file;
        EXPECT_EQ(picture.size(), QSize(bitmap.width, bitmap.height)) << bitmap.file;
        if (bitmap.resourceId != 0) {
            EXPECT_EQ(m_skins.bitmap(bitmap.resourceId).size(), picture.size()) << bitmap.resourceId;
        }
    }
    EXPECT_FALSE(m_skins.icon(skin::kAppIconId).isNull());
}

TEST_F(SkinFiles, EveryMainButtonHasItsFourStatesAtItsSize) {
    // The wide PCI button of KX-2906, KX-2904 and KX-2903 is drawn at its own size, not stretched.
    std::vector<skin::MainButton> buttons(skin::kMainButtons.begin(), skin::kMainButtons.end());
    buttons.push_back(skin::kWidePciButton);
    for (const auto& button : buttons)
        for (const auto ending : skin::kMainButtonStateEndings) {
            const std::string name = std::string(button.baseName) + std::string(ending);
            const QImage picture = loadBitmapFile(file(name));
            ASSERT_FALSE(picture.isNull()) << name;
            EXPECT_EQ(picture.size(), QSize(button.rect.width, button.rect.height)) << name;
        }
}

TEST_F(SkinFiles, EveryRequiredFileIsThereAndAMissingOneIsNamedWithItsFolder) {
    EXPECT_TRUE(skin::missingSkinFiles(m_skins.folder()).empty());
    test::TempFolder empty;
    const auto missing = skin::missingSkinFiles(empty.path());
    EXPECT_EQ(missing.size(), skin::requiredSkinFiles().size());
    const auto text = skin::describeMissingSkinFiles(missing, empty.path());
    EXPECT_NE(text.find(empty.path().string()), std::string::npos);
    EXPECT_NE(text.find(missing.front()), std::string::npos);
    EXPECT_NE(text.find(" more"), std::string::npos) << "a long list is cut short";
}

TEST_F(SkinFiles, TheWindowShapeHoldsEveryButtonAndThePageFrame) {
    const QImage window = loadBitmapFile(file(skin::kWindowBackgroundFile));
    ASSERT_EQ(window.size(), QSize(skin::kMainWindow.width, skin::kMainWindow.height));
    const QRegion shape = opaqueRegion(window, ColorRef(0x0000FF), window.size());

    EXPECT_EQ(window.pixelColor(0, 0), QColor(255, 0, 0)) << "pure red outside the shape";
    EXPECT_EQ(window.pixelColor(0, window.height() - 1), QColor(255, 0, 0));
    EXPECT_EQ(shape.boundingRect(), QRect(QPoint(0, 0), window.size()));
    const auto inside = [&shape](const skin::Rect& rect) {
        return QRegion(rect.x, rect.y, rect.width, rect.height).subtracted(shape).isEmpty();
    };
    for (const auto& button : skin::kMainButtons)
        EXPECT_TRUE(inside(button.rect)) << button.baseName;
    EXPECT_TRUE(inside(skin::kPageFrame));
}

TEST_F(SkinFiles, BoardSitesLieOnTheBoard) {
    for (const auto* picture : {&skin::kFullBoardPicture, &skin::kSmallBoardPicture}) {
        const QRect board(0, 0, picture->board.width, picture->board.height);
        for (const auto sites : {picture->lampSites, picture->slotSites, picture->spotSites})
            for (const auto& site : sites) {
                const auto bitmap = skin::bitmapById(site.bitmapId);
                ASSERT_TRUE(bitmap) << site.controlId;
                EXPECT_TRUE(board.contains(QRect(site.x, site.y, bitmap->width, bitmap->height)))
                    << picture->file << " control " << site.controlId;
            }
        const QImage page = loadBitmapFile(file(picture->file));
        EXPECT_TRUE(QRect(QPoint(0, 0), page.size())
                        .contains(QRect(picture->board.x, picture->board.y, picture->board.width,
                                        picture->board.height)));
    }
}

} // namespace
} // namespace solvane::ui
