// The LED page in the program's main window, on simulated boards: layouts, picture buttons and
// lists down to the board's LED registers, the lamps and their blinking on the virtual clock, the
// LED profiles; and once the real program on the screen, clicked through the X server.
#include "WindowOnScreen.h"
#include "tuning/LedPagePlan.h"
#include "tuning/pages/CList0.h"
#include "tuning/pages/CSLV_ADVANCE_LED.h"
#include "tuning/pages/LedPageIds.h"
#include "tuning/pages/LedPageLayout.h"
#include "ui/BoardPictureLayout.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"
#include "ui/WidgetInput.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QWindow>

namespace solvane::tuning::pages {
namespace {

namespace ids = led_ids;

constexpr int kAllLed = 20;
constexpr int kCpuPhaseLed = 21;
constexpr int kMemoryLed = 24;
constexpr int kPciSlotLed = 27;
constexpr int kLit = 255;
constexpr int kDark = 256;
constexpr std::array<int, 6> kCpuLamps{1161, 1167, 1168, 1169, 1170, 1171};

// 2917 keeps the CPU phase LED in bit 0 of register 0x11 of its LED controller at 0x34 (set: on).
constexpr std::uint8_t kLedControllerRead = 0x35;
constexpr std::uint8_t kSwitchRegister = 0x11;

class LedPageRig : public test::MainWindowRig {
public:
    explicit LedPageRig(int board, std::string biosVersion = {})
        : MainWindowRig(board,
                        {ui::main_window_ids::kProduct, ui::main_window_ids::kAdvanced,
                         ui::main_window_ids::kLedSettings},
                        nullptr, std::move(biosVersion)) {}

    CSLV_ADVANCE_LED& page() { return *window->ledPage(); }
    CList0& list() { return *window->optionList(); }
    QString caption(int setting) { return page().valueButton(setting)->text(); }
    int lamp(int lampId) { return page().lampImage(lampId); }
    std::uint8_t switchRegister() {
        return hardware->hoblin().Smbus_JRW(kLedControllerRead, kSwitchRegister, 0);
    }
    void advance(unsigned ms) { parts.clock.advance(ms); }
    bool timerSet(int id) { return parts.clock.isSet(&page(), id); }

    // A second LED page on the same board and state that draws with the program's skin pictures
    // (the test program's own folder has none).
    std::unique_ptr<CSLV_ADVANCE_LED> drawnPage() {
        auto drawn = std::make_unique<CSLV_ADVANCE_LED>(CSLV_ADVANCE_LED::Context{
            core->state(), core->commands(), parts.registry, parts.prompt, parts.clock, hardware->falwick(),
            core->pciScan().facts.Ieee1394Bus, skins});
        drawn->InitDialog();
        return drawn;
    }
    ui::SkinResources skins{test::programFolder()};
};

TEST(LedPage, ReplacesThePlaceholderWithTheBoardPictureSwitchesAndLamps) {
    LedPageRig rig(2917);
    EXPECT_TRUE(rig.parts.prompt.asked().empty());
    ASSERT_TRUE(rig.page().isVisible());
    EXPECT_EQ(rig.page().pageId(), 242);
    for (int setting = 20; setting <= 28; ++setting)
        EXPECT_EQ(rig.caption(setting), QStringLiteral("AUTO")) << setting;
    EXPECT_FALSE(rig.page().valueButton(29)->isVisible());
    EXPECT_EQ(rig.page().pictureButton(kCpuPhaseLed)->toolTip(), QStringLiteral("Turn On/Off CPU TRYPH LED"));
    EXPECT_EQ(rig.page().pictureButton(26)->textColor(), ui::palette::kPictureCaptionGreen);
    EXPECT_EQ(rig.page().pictureButton(kMemoryLed)->textColor(), ui::palette::kPictureCaptionBlue);
    for (const int lamp : kCpuLamps)
        EXPECT_EQ(rig.lamp(lamp), kLit) << lamp;
    EXPECT_EQ(rig.lamp(1159), 251);
    EXPECT_EQ(rig.lamp(1179), 258);
    EXPECT_EQ(rig.lamp(1180), kLit) << "a card answers on the IEEE 1394 controller's bus";
    EXPECT_TRUE(rig.page().pciCard());
    EXPECT_FALSE(rig.page().nameEdit()->isVisible());
    EXPECT_FALSE(ui::findControl(rig.page(), ids::kCancel)->isVisible());
    EXPECT_EQ(rig.parts.clock.period(&rig.page(), 91), 1000U);
}

// A lamp shows the picture of the image it is at, from the first refresh on and after a change.
TEST(LedPage, EachLampShowsThePictureOfItsImage) {
    LedPageRig rig(2917);
    const auto drawn = rig.drawnPage();
    const auto expectPictures = [&](const char* when) {
        for (const int lamp : {1161, 1167, 1159, 1163, 1179, 1180}) {
            const int image = drawn->lampImage(lamp);
            const auto expected = QPixmap::fromImage(rig.skins.bitmap(image)).toImage();
            ASSERT_FALSE(expected.isNull()) << image;
            EXPECT_EQ(drawn->lamp(lamp)->pixmap().toImage(), expected) << when << ": lamp " << lamp;
        }
    };
    expectPictures("at creation");
    rig.core->state().modes.CurrentValues[26] = 1; // the power LED turned off
    rig.advance(1000);                             // the lamps' refresh
    EXPECT_NE(drawn->lampImage(1159), 251);
    expectPictures("after a change");
}

// A switch turned off while another page is shown (by a profile, a mode or the tray) is seen the
// moment the LED page comes back, not a lamp refresh later.
TEST(LedPage, LampsChangedWhileThePageWasHiddenShowAsItComesBack) {
    LedPageRig rig(2917);
    ASSERT_EQ(rig.lamp(kCpuLamps[0]), kLit);
    rig.window->OnCommand(ui::main_window_ids::kMotherboardSettings);
    ASSERT_FALSE(rig.page().isVisible());
    rig.value(kCpuPhaseLed) = 1;
    rig.window->OnCommand(ui::main_window_ids::kLedSettings);
    ASSERT_TRUE(rig.page().isVisible());
    for (const int lamp : kCpuLamps)
        EXPECT_EQ(rig.lamp(lamp), kDark) << lamp;
}

TEST(LedPage, EveryBoardShowsItsSwitchesLampsAndPicturesAsPlanned) {
    for (const int board : {2901, 2902, 2903, 2904, 2905, 2906, 2907, 2908, 2909, 2910, 2911, 2912, 2915,
                            2916, 2917, 2918, 2913}) {
        SCOPED_TRACE(board);
        LedPageRig rig(board);
        const auto& platform = rig.core->state().platform;
        const auto plan = ledPagePlan(board, platform.biosVersion, platform.CpuVendor);
        for (const auto& led : kLedSwitches) {
            const auto& switchPlan = plan.of(led.setting);
            EXPECT_EQ(rig.page().valueButton(led.setting)->isVisible(), switchPlan.shown) << led.setting;
            EXPECT_EQ(rig.page().rowLabel(led.setting)->isVisible(), switchPlan.shown) << led.setting;
            EXPECT_EQ(rig.page().rowLabel(led.setting)->text().toStdString(), switchPlan.label)
                << led.setting;
            if (auto* picture = rig.page().pictureButton(led.setting))
                EXPECT_EQ(picture->isVisible(), switchPlan.pictureShown) << led.setting;
            else
                EXPECT_FALSE(switchPlan.pictureShown) << led.setting << ": no place on the picture";
        }
        for (const int lampId : {1161, 1167, 1168, 1169, 1170, 1171, 1173, 1174, 1175, 1176,
                                 1177, 1178, 1181, 1159, 1163, 1179, 1180, 1160, 1164, 1165})
            if (auto* lamp = rig.page().lamp(lampId))
                EXPECT_EQ(lamp->isVisible(), plan.lampShown(lampId)) << lampId;
            else
                EXPECT_FALSE(plan.lampShown(lampId)) << lampId << ": no place on the picture";
        for (std::size_t i = 0; i < kSlotPictures.size(); ++i)
            EXPECT_EQ(ui::findControl(rig.page(), kSlotPictures[i])->isVisible(), plan.slotsShown[i])
                << kSlotPictures[i];
        EXPECT_EQ(ui::findControl(rig.page(), ids::kLedGroupPicture)->isVisible(), plan.groupPictureShown);
        // The switch group always has its title: the picture, or the group box's own caption where the
        // board has no picture.
        const auto* group = rig.page().findChild<QGroupBox*>();
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QStringLiteral("LED"));
        EXPECT_EQ(group->styleSheet().contains(QStringLiteral("color: transparent")), plan.groupPictureShown);
    }
}

TEST(LedPage, ABoardWithoutTheTitlePictureDrawsTheGroupTitleAsText) {
    // Light title pixels inside the group's top left corner, where the picture would be.
    const auto titlePixels = [](LedPageRig& rig) {
        const QImage page = rig.page().grab().toImage();
        const QRect area(led_layout::kGroupBox.topLeft() +
                             QPoint(led_layout::kTitleLeft, led_layout::kTitleTop),
                         QSize(40, 18));
        int light = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                light += qGray(page.pixel(x, y)) > 150 ? 1 : 0;
        return light;
    };
    LedPageRig older(2901);
    ASSERT_FALSE(ledPagePlan(2901, {}, "AMD").groupPictureShown);
    EXPECT_GT(titlePixels(older), 10) << "the caption is drawn";
}

TEST(LedPage, BoardSpecificsOnThePage) {
    {
        LedPageRig rig(2917);
        const auto drawn = rig.drawnPage();
        ASSERT_NE(drawn->bitmap(), nullptr);
        EXPECT_EQ(*drawn->bitmap(), ui::loadBitmapFile(rig.skins.filePath(ui::skin::kBoardPictureFile)));
    }
    {
        LedPageRig rig(2901);
        const auto drawn = rig.drawnPage();
        ASSERT_NE(drawn->bitmap(), nullptr);
        EXPECT_EQ(*drawn->bitmap(), ui::loadBitmapFile(rig.skins.filePath(ui::skin::kSmallBoardPictureFile)))
            << "MotherBoard3.bmp";
        EXPECT_TRUE(rig.page().valueButton(kCpuPhaseLed)->isVisible());
        EXPECT_FALSE(rig.page().pictureButton(kCpuPhaseLed)->isVisible());
        EXPECT_FALSE(rig.page().lamp(1161)->isVisible()) << "a single switch row without lamps";
        EXPECT_FALSE(rig.page().valueButton(kAllLed)->isVisible());
    }
    {
        LedPageRig rig(2916, "V7.04");
        EXPECT_FALSE(rig.page().valueButton(kMemoryLed)->isVisible())
            << "the V7 BIOS has no memory phase LED";
        EXPECT_FALSE(rig.page().pictureButton(25)->isVisible());
        EXPECT_FALSE(rig.page().lamp(1177)->isVisible());
        EXPECT_TRUE(rig.page().valueButton(26)->isVisible());
        EXPECT_FALSE(rig.page().lamp(1171)->isVisible()) << "five CPU lamps";
        EXPECT_TRUE(rig.page().lamp(1170)->isVisible());
    }
    {
        LedPageRig rig(2916);
        EXPECT_TRUE(rig.page().valueButton(kMemoryLed)->isVisible());
    }
    {
        LedPageRig rig(2911);
        EXPECT_EQ(rig.page().rowLabel(25)->text(), QStringLiteral("NB Phase LED"));
        EXPECT_EQ(rig.page().pictureButton(25)->text(), QStringLiteral("NB TRYPH"));
    }
    {
        LedPageRig rig(2915);
        EXPECT_TRUE(rig.page().valueButton(29)->isVisible());
        EXPECT_TRUE(rig.page().lamp(1181)->isVisible()) << "memory lamp 3";
        EXPECT_FALSE(rig.page().pciCard()) << "nothing answers at devices 0 and 1 of the controller's bus";
        EXPECT_EQ(rig.value(kPciSlotLed), 0);
        EXPECT_EQ(rig.lamp(1180), kDark) << "no card: the PCI slot lamp stays dark";
    }
}

TEST(LedPage, APictureButtonTogglesTheSwitchAndTheBoardsLedRegister) {
    LedPageRig rig(2917);
    ASSERT_EQ(rig.switchRegister() & 0x01, 0x01);
    test::click(*rig.page().pictureButton(kCpuPhaseLed));
    EXPECT_EQ(rig.value(kCpuPhaseLed), 1);
    EXPECT_EQ(rig.core->state().modes.PendingSettingIndex, kCpuPhaseLed);
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x00) << "the CPU phase LED is off on the board";
    EXPECT_TRUE(rig.timerSet(92));
    EXPECT_EQ(rig.caption(kCpuPhaseLed), QStringLiteral("AUTO")) << "until the next refresh";
    rig.advance(1000);
    EXPECT_EQ(rig.caption(kCpuPhaseLed), QStringLiteral("OFF"));
    for (const int lamp : kCpuLamps)
        EXPECT_EQ(rig.lamp(lamp), kDark) << lamp;
    EXPECT_EQ(rig.lamp(1173), kLit) << "other groups keep their light";

    test::click(*rig.page().pictureButton(kCpuPhaseLed));
    EXPECT_EQ(rig.value(kCpuPhaseLed), 0);
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x01);
    rig.advance(1000);
    EXPECT_EQ(rig.lamp(1161), kLit);
}

TEST(LedPage, APictureButtonOnAnotherValueStillAppliesItAsItWas) {
    LedPageRig rig(2917);
    rig.value(kCpuPhaseLed) = 5;
    rig.page().OnPictureButton(kCpuPhaseLed);
    // Written as 5 (not zero: the LED goes off), then read back from the board as "off".
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x00);
    EXPECT_EQ(rig.core->state().modes.PendingSettingIndex, kCpuPhaseLed);
    EXPECT_EQ(rig.value(kCpuPhaseLed), 1);
}

TEST(LedPage, TheListOffersAutoAndOffBelowItsButtonAndItsLampsBlinkUntilItCloses) {
    LedPageRig rig(2917);
    auto& page = rig.page();
    page.OnValueButton(kCpuPhaseLed);
    ASSERT_TRUE(rig.list().isVisible());
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, kCpuPhaseLed);
    auto& box = rig.list().list();
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.line(0).text, QStringLiteral("AUTO"));
    EXPECT_EQ(box.line(1).text, QStringLiteral("OFF"));
    EXPECT_EQ(box.line(0).backIndex, 13) << "the current value white on blue";
    auto* button = page.valueButton(kCpuPhaseLed);
    const QPoint below = button->mapToGlobal(QPoint(0, button->height()));
    EXPECT_EQ(rig.list().geometry(), QRect(below, QSize(120, 60)));

    rig.advance(500);
    EXPECT_EQ(rig.lamp(1161), kLit) << "first blink step: on";
    EXPECT_FALSE(rig.timerSet(91));
    rig.advance(500);
    for (const int lamp : kCpuLamps)
        EXPECT_EQ(rig.lamp(lamp), kDark) << lamp;
    EXPECT_EQ(rig.lamp(1173), kLit) << "only the open switch's lamps blink";
    rig.advance(500);
    EXPECT_EQ(rig.lamp(1171), kLit);

    box.item(1)->setSelected(true);
    EXPECT_FALSE(rig.list().isVisible());
    EXPECT_EQ(rig.value(kCpuPhaseLed), 1);
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x00) << "chosen through the check-and-write command";
    EXPECT_TRUE(rig.timerSet(90)) << "blinking ends on the next tick";
    rig.advance(500);
    EXPECT_FALSE(rig.timerSet(90));
    for (const int lamp : kCpuLamps)
        EXPECT_EQ(rig.lamp(lamp), kDark) << "drawn from the state: switched off";
    EXPECT_EQ(rig.parts.clock.period(&page, 91), 2000U);
}

TEST(LedPage, TheAllLedListBlinksEveryGroupAtOnce) {
    LedPageRig rig(2917);
    rig.page().OnValueButton(kAllLed);
    rig.advance(1000); // on, then off
    for (const int lamp : rig.page().plan().shownLamps())
        EXPECT_TRUE(rig.lamp(lamp) == kDark || rig.lamp(lamp) == 259) << lamp;
    rig.advance(500);
    EXPECT_EQ(rig.lamp(1163), 307) << "the standby lamp blinks in its own colour";
    EXPECT_EQ(rig.lamp(1177), kLit);
    // Its ">>" again closes the list; the next tick draws the state.
    rig.page().OnValueButton(kAllLed);
    EXPECT_FALSE(rig.list().isVisible());
    rig.advance(500);
    EXPECT_EQ(rig.lamp(1163), kDark);
    EXPECT_EQ(rig.lamp(1159), 251);
}

TEST(LedPage, ABackgroundClickClosesTheList) {
    LedPageRig rig(2917);
    rig.page().OnValueButton(kMemoryLed);
    test::click(rig.page(), QPoint(5, 385));
    EXPECT_FALSE(rig.list().isVisible());
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, -1);
    EXPECT_EQ(rig.value(kMemoryLed), 0);
}

TEST(LedPage, ALitLampIsDrawnLitAndADarkOneDark) {
    LedPageRig rig(2917);
    const QImage lit = rig.skins.bitmap(kLit);
    const QImage dark = rig.skins.bitmap(kDark);
    ASSERT_NE(lit.pixel(5, 5), dark.pixel(5, 5));
    const auto drawn = rig.drawnPage();
    const auto centreOf = [&](int lampId) {
        return drawn->lamp(lampId)->geometry().topLeft() + QPoint(5, 5);
    };
    const QImage before = drawn->grab().toImage();
    EXPECT_EQ(before.pixel(centreOf(1161)), lit.pixel(5, 5));
    EXPECT_EQ(before.pixel(centreOf(1163)), dark.pixel(5, 5)) << "the standby lamp";
    drawn->OnPictureButton(kCpuPhaseLed);
    rig.advance(1000);
    const QImage after = drawn->grab().toImage();
    EXPECT_EQ(after.pixel(centreOf(1161)), dark.pixel(5, 5));
    EXPECT_EQ(after.pixel(centreOf(1173)), lit.pixel(5, 5)) << "a QPI lamp keeps its light";
}

TEST(LedPage, AProfileSavedChangedAndLoadedBackRestoresTheRegister) {
    LedPageRig rig(2917);
    auto& page = rig.page();
    page.OnPictureButton(kCpuPhaseLed);
    ASSERT_EQ(rig.switchRegister() & 0x01, 0x00);
    page.OnSave();
    EXPECT_TRUE(page.nameEdit()->isVisible());
    page.nameEdit()->setText(QStringLiteral("Night"));
    page.OnSave();
    EXPECT_FALSE(page.nameEdit()->isVisible());
    EXPECT_EQ(rig.parts.registry.readString(kLedProfileKey, "SavedSettings"), "Night;");
    EXPECT_EQ(rig.parts.registry.readString(kLedProfileKey, "Night"), "0;1;0;0;0;0;0;0;0;");

    page.OnPictureButton(kCpuPhaseLed);
    ASSERT_EQ(rig.switchRegister() & 0x01, 0x01);
    rig.advance(6000); // the caption timer runs out
    page.OnProfileCommand(32937);
    EXPECT_EQ(rig.value(kCpuPhaseLed), 1);
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x00) << "the saved value is back on the board";
    EXPECT_TRUE(rig.timerSet(92));

    // "Load Led Default Setting" switches every LED back to automatic.
    page.OnProfileCommand(32935);
    EXPECT_EQ(rig.value(kAllLed), 0);
    EXPECT_EQ(rig.value(kCpuPhaseLed), 0);
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x01);
}

TEST(LedPage, AnEmptyNameIsRefused) {
    LedPageRig rig(2917);
    rig.page().OnSave();
    rig.page().nameEdit()->setText(QStringLiteral("x"));
    rig.page().nameEdit()->clear();
    rig.page().OnSave();
    ASSERT_EQ(rig.parts.prompt.asked().size(), 1U);
    EXPECT_EQ(rig.parts.prompt.asked()[0].text, "Please define a name.");
    EXPECT_EQ(rig.parts.prompt.asked()[0].caption, "No name");
    EXPECT_FALSE(rig.parts.registry.readString(kLedProfileKey, "SavedSettings"));
}

// ---- On the screen -------------------------------------------------------------------------------

TEST(LedPageOnTheScreen, AClickOnThePictureButtonTurnsTheLedOffAndTheLampDark) {
    if (!test::onScreen())
        GTEST_SKIP() << "needs an X server and xdotool (run the suite under xvfb-run)";
    LedPageRig rig(2917);
    rig.window->move(40, 40);
    rig.window->raise();
    rig.window->activateWindow();
    ASSERT_TRUE(test::waitFor(
        [&] { return rig.window->windowHandle() != nullptr && rig.window->windowHandle()->isExposed(); }));
    EXPECT_EQ(rig.lamp(1161), kLit);
    test::clickOn(*rig.page().pictureButton(kCpuPhaseLed));
    ASSERT_TRUE(test::waitFor([&] { return rig.value(kCpuPhaseLed) == 1; }));
    EXPECT_EQ(rig.switchRegister() & 0x01, 0x00) << "the board's LED register";
    rig.advance(1000);
    QApplication::processEvents();
    EXPECT_EQ(rig.lamp(1161), kDark) << "the lamp goes dark";
    EXPECT_EQ(rig.caption(kCpuPhaseLed), QStringLiteral("OFF"));
}

using test::ProgramOnScreen;

// The centre of a picture button on the full board picture, in window coordinates.
QPoint pictureButtonCentre(int pictureId) {
    const auto& picture = ui::skin::kFullBoardPicture;
    for (const auto& spot : picture.spotSites)
        if (spot.controlId == pictureId) {
            const auto size = ui::skin::bitmapById(spot.bitmapId);
            return ProgramOnScreen::onPage(QPoint(picture.board.x + spot.x + size->width / 2,
                                                  picture.board.y + spot.y + size->height / 2));
        }
    ADD_FAILURE() << "no place for picture button " << pictureId;
    return {};
}

QString reportedLed(const QJsonObject& report, const char* key) {
    return report.value(QStringLiteral("leds")).toObject().value(QLatin1String(key)).toString();
}

TEST(LedPageOnTheScreen, APictureClickTurnsTheLedOffAndAProfileBringsItBack) {
    if (!test::onScreen())
        GTEST_SKIP() << "needs an X server and xdotool (run the suite under xvfb-run)";
    if (!std::filesystem::exists(test::programFolder() / "solvane"))
        GTEST_SKIP() << "the program is not built";
    test::TempFolder state;
    test::TempFolder runtime;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    namespace layout = led_layout;
    const auto centre = [](const QRect& rect) { return ProgramOnScreen::onPage(rect.center()); };
    {
        ProgramOnScreen program(state.path(), runtime.path());
        ASSERT_TRUE(program.found());
        program.openPage({ui::main_window_ids::kProduct, ui::main_window_ids::kAdvanced,
                          ui::main_window_ids::kLedSettings});
        program.click(pictureButtonCentre(1205));
        // Save the LEDs as "Night", turn the CPU LED back on, load "Night" from the Load menu.
        program.click(centre(layout::kSave));
        program.click(centre(layout::kNameEdit));
        test::xdotool("type --delay 30 Night");
        program.click(centre(layout::kSave));
        program.click(pictureButtonCentre(1205));
        program.click(ProgramOnScreen::onPage(QPoint(layout::kLoad.left() + 5, layout::kLoad.center().y())));
        test::xdotool("sleep 0.4 key Down Down Right sleep 0.3 key Return sleep 0.5");
        program.exit();
        ASSERT_EQ(program.wait(), 0);
    }
    const auto report = test::programReport(state.path(), runtime.path());
    EXPECT_EQ(reportedLed(report, "CPU_PHASE_LED"), QStringLiteral("OFF")) << "read back from the board";
    EXPECT_EQ(report.value(QStringLiteral("lamps")).toObject().value(QStringLiteral("1161")).toString(),
              QStringLiteral("dark"));
    EXPECT_EQ(reportedLed(report, "DDR_PHASE_LED"), QStringLiteral("AUTO"));
    const auto registry = test::readTextFile(state.path() / "registry.reg");
    EXPECT_NE(registry.find("\"SavedSettings\"=\"Night;\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("\"Night\"=\"0;1;0;0;0;0;0;0;0;\""), std::string::npos) << registry;
}

} // namespace
} // namespace solvane::tuning::pages
