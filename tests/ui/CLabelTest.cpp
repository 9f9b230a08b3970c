#include "ui/CLabel.h"

#include "WidgetInput.h"
#include "platform/Scheduler.h"

#include <gtest/gtest.h>

namespace solvane::ui {
namespace {

using test::render;

TEST(LabelGradient, FiftyPixelsFromBlackToBlueMakeFiftyRisingBands) {
    const auto bands = gradientBands(ColorRef(0x000000), ColorRef(0xFF0000), 50);

    ASSERT_EQ(bands.size(), 50U);
    // Steps of 255 x 256 / 50 = 1305 in 8.8 fixed point: band i has blue i x 1305 / 256.
    for (int i = 0; i < 50; ++i) {
        const auto& band = bands[static_cast<std::size_t>(i)];
        EXPECT_EQ(band.left, i);
        EXPECT_EQ(band.right, i + 1);
        EXPECT_EQ(band.color, ColorRef::fromRgb(0, 0, i * 1305 / 256)) << "band " << i;
    }
    EXPECT_EQ(bands[1].color.blue(), 5);
    EXPECT_EQ(bands[49].color.blue(), 249);
}

TEST(LabelGradient, AtMostAHundredBandsTheLastReachingTheRightEdge) {
    const auto bands = gradientBands(ColorRef::fromRgb(200, 100, 0), ColorRef::fromRgb(0, 100, 200), 250);

    ASSERT_EQ(bands.size(), 100U);
    EXPECT_EQ(bands.front().left, 0);
    EXPECT_EQ(bands.front().right, 2);
    EXPECT_EQ(bands.back().left, 198);
    EXPECT_EQ(bands.back().right, 250);
    EXPECT_EQ(bands.front().color, ColorRef::fromRgb(200, 100, 0));
    // Falling channels step down by 200 x 256 / 100 = 512 per band.
    EXPECT_EQ(bands[10].color, ColorRef::fromRgb(180, 100, 20));
    EXPECT_TRUE(gradientBands(ColorRef(), ColorRef(0xFFFFFF), 0).empty());
}

TEST(CLabel, PaintsTheGradientBandByBand) {
    CLabel label;
    label.resize(50, 10);
    label.SetBkColor(ColorRef(0x000000), ColorRef(0xFF0000), CLabel::Fill::Gradient);

    const QImage shown = render(label);

    for (int x = 0; x < 50; ++x)
        EXPECT_EQ(shown.pixelColor(x, 5), QColor(0, 0, x * 1305 / 256)) << "column " << x;
}

// The colours of every pixel where the label's text changed the painting of the background.
QSet<QRgb> textColours(CLabel& label) {
    const QString text = label.text();
    label.SetText(QString());
    const QImage background = render(label);
    label.SetText(text);
    const QImage withText = render(label);
    QSet<QRgb> colours;
    for (int y = 0; y < withText.height(); ++y)
        for (int x = 0; x < withText.width(); ++x)
            if (withText.pixel(x, y) != background.pixel(x, y))
                colours.insert(withText.pixel(x, y) & RGB_MASK);
    return colours;
}

TEST(CLabel, FlashingHidesTheTextInTheBackgroundColourOrInBlackOnAGradient) {
    platform::VirtualClockScheduler clock;
    CLabel label(nullptr, &clock);
    label.resize(120, 30);
    test::useCrispFont(label, 20);
    label.SetText(QStringLiteral("WWW")).SetTextColor(ColorRef(0x00FF00));
    label.SetBkColor(ColorRef(0x404040), ColorRef(0xFF4040), CLabel::Fill::Gradient);
    label.FlashText(true);
    EXPECT_TRUE(clock.isSet(&label, CLabel::kFlashTimerId));
    EXPECT_EQ(clock.period(&label, CLabel::kFlashTimerId), 500U);

    EXPECT_EQ(textColours(label), QSet<QRgb>{qRgb(0, 255, 0) & RGB_MASK});
    clock.advance(500);
    EXPECT_TRUE(label.flashOff());
    EXPECT_EQ(textColours(label), QSet<QRgb>{0}) << "no brush on a gradient: black";

    label.SetBkColor(ColorRef::fromRgb(10, 20, 30));
    EXPECT_TRUE(textColours(label).isEmpty()) << "a solid background swallows the text";

    clock.advance(500);
    EXPECT_FALSE(label.flashOff());
    label.FlashText(false);
    EXPECT_FALSE(clock.isSet(&label, CLabel::kFlashTimerId));
}

TEST(CLabel, ThreeDimensionalTextAddsAHighlightCopy) {
    CLabel label;
    label.resize(80, 30);
    test::useCrispFont(label);
    label.SetText(QStringLiteral("III")).SetTextColor(ColorRef(0x00FF00)).SetBkColor(ColorRef(0x000000));
    label.Set3DText(true).SetText3DHiliteColor(ColorRef(0xFF0000));

    const auto colours = textColours(label);
    EXPECT_TRUE(colours.contains(qRgb(0, 0, 255) & RGB_MASK));
    EXPECT_TRUE(colours.contains(qRgb(0, 255, 0) & RGB_MASK));
}

TEST(CLabel, ATransparentLabelLeavesItsParentVisible) {
    QWidget parent;
    test::fillBackground(parent, {60, 20}, QColor(9, 99, 199));
    CLabel label(&parent);
    label.setGeometry(0, 0, 60, 20);
    EXPECT_EQ(render(parent).pixelColor(30, 10), QColor(0x7E, 0x7E, 0x7E)) << "the default grey background";

    label.SetTransparent(true);
    EXPECT_EQ(render(parent).pixelColor(30, 10), QColor(9, 99, 199));
}

TEST(CLabel, ALinkLabelNotifiesItsParentOrOpensItsText) {
    CLabel label;
    label.resize(100, 20);
    label.SetText(QStringLiteral("https://www.tarvok.example/"));
    QStringList opened;
    label.SetLinkOpener([&opened](const QString& text) { opened << text; });
    int notified = 0;
    QObject::connect(&label, &CLabel::linkNotification, [&notified](int code) {
        EXPECT_EQ(code, CLabel::kLinkNotification);
        ++notified;
    });

    test::click(label);
    EXPECT_TRUE(opened.isEmpty()) << "without the link style a click does nothing";

    label.SetLink(true);
    test::click(label);
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://www.tarvok.example/")});

    label.SetLink(true, CLabel::LinkAction::NotifyParent).SetLinkCursor(QCursor(Qt::PointingHandCursor));
    test::click(label);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
}

TEST(LabelTextLayout, TheStaticStyleDecidesAlignmentAndWrapping) {
    const QString plain = QStringLiteral("12 W");
    const int top = Qt::AlignTop;
    EXPECT_EQ(labelTextFlags({StaticAlign::Center, false}, plain), top | Qt::AlignHCenter | Qt::TextWordWrap);
    EXPECT_EQ(labelTextFlags({StaticAlign::Right, false}, plain), top | Qt::AlignRight | Qt::TextWordWrap);
    EXPECT_EQ(labelTextFlags({StaticAlign::LeftNoWordWrap, false}, plain), top | Qt::AlignLeft);
    EXPECT_EQ(labelTextFlags({StaticAlign::Left, false}, plain), top | Qt::AlignLeft | Qt::TextWordWrap);
    EXPECT_EQ(labelTextFlags({StaticAlign::Right, true}, plain),
              static_cast<int>(Qt::AlignCenter) | Qt::TextSingleLine);
    EXPECT_EQ(labelTextFlags({StaticAlign::Left, true}, QStringLiteral("3.3V Power\r\nConsumption")),
              top | Qt::AlignHCenter);
}

} // namespace
} // namespace solvane::ui
