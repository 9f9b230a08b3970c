#include "ui/Palette.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace solvane::ui::palette
