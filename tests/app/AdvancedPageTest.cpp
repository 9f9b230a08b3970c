// The advanced motherboard page in the program's main window, on simulated boards: layouts, the
// option list from a ">>" press to the register, the profiles, the timers on the virtual clock; and
// once on the screen, driven with the pointer and the keyboard through the X server.
#include "WindowOnScreen.h"
#include "app/QtPrompt.h"
#include "power/ModeTargets.h"
#include "tuning/AdvancedCaptions.h"
#include "tuning/AdvancedPagePlan.h"
#include "tuning/OptionListLines.h"
#include "tuning/pages/AdvancedPageIds.h"
#include "tuning/pages/AdvancedPageLayout.h"
#include "tuning/pages/CList0.h"
#include "tuning/pages/CSLV_ADVANCE_MB.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/WidgetInput.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <set>

namespace solvane::tuning::pages {
namespace {

namespace ids = advanced_ids;
using power::PowerMode;

constexpr int kCpuVoltage = 0;
constexpr std::uint8_t kCpuRegulatorRead = 0x61; // 2917: CPU voltage in 0x60 register 1

// The program's main window on a simulated board, timers on the virtual clock, the advanced page
// shown. Message boxes are answered from the script, or on the screen.
class AdvancedPageRig : public test::MainWindowRig {
public:
    explicit AdvancedPageRig(int board, platform::Prompt* screenPrompt = nullptr)
        : MainWindowRig(board, {ui::main_window_ids::kProduct, ui::main_window_ids::kAdvanced},
                        screenPrompt) {}

    CSLV_ADVANCE_MB& page() { return *window->advancedPage(); }
    CList0& list() { return *window->optionList(); }
    ui::CxSkinButton& button(int row) { return *page().valueButton(row); }
    QString caption(int row) { return button(row).text(); }
    std::uint8_t cpuRegister() { return hardware->hoblin().Smbus_JRW(kCpuRegulatorRead, 0x01, 0); }
    void choose(int position) { list().list().item(position)->setSelected(true); }
};

// Code list B of the five SMBus-regulator boards: 0xD0 down to 0xC0 for options 0 to 16, then
// 0x81 upwards.
std::uint8_t codeListB(int option) {
    return static_cast<std::uint8_t>(option <= 16 ? 0xD0 - option : 0x81 + (option - 17));
}

TEST(AdvancedPage, ReplacesThePlaceholderAndShowsTheCurrentChoices) {
    AdvancedPageRig rig(2917);
    EXPECT_TRUE(rig.parts.prompt.asked().empty());
    ASSERT_TRUE(rig.page().isVisible());
    EXPECT_EQ(rig.page().pageId(), tuning::pages::advanced_ids::kDialog);
    EXPECT_EQ(rig.caption(kCpuVoltage), QStringLiteral("+0.000 V")) << "the board's default option 16";
    EXPECT_EQ(rig.caption(7), QStringLiteral("1.500 V"));
    EXPECT_TRUE(rig.caption(19).endsWith(QStringLiteral(" rpm")));
    EXPECT_TRUE(rig.page().readoutText(1079).endsWith(QStringLiteral(" W")));
    EXPECT_TRUE(rig.page().modeRadio(PowerMode::Default)->GetCheck());
    EXPECT_FALSE(rig.page().nameEdit()->isVisible());
    EXPECT_FALSE(ui::findControl(rig.page(), ids::kCancel)->isVisible());
    EXPECT_FALSE(rig.list().isVisible());
}

TEST(AdvancedPage, EveryBoardShowsItsRowsLabelsAndButtonsAsPlanned) {
    for (const int board : {2901, 2902, 2903, 2904, 2905, 2906, 2907, 2908, 2909, 2910, 2911, 2912, 2915,
                            2916, 2917, 2918, 2913}) {
        SCOPED_TRACE(board);
        AdvancedPageRig rig(board);
        const auto plan = advancedPagePlan(board);
        for (int row = 0; row < 20; ++row) {
            const auto& rowPlan = plan.rows[static_cast<std::size_t>(row)];
            EXPECT_EQ(rig.button(row).isVisible(), rowPlan.shown) << row;
            EXPECT_EQ(rig.page().rowLabel(row)->isVisible(), rowPlan.shown) << row;
            EXPECT_EQ(rig.page().rowLabel(row)->text().toStdString(), rowPlan.label) << row;
            // A setting the board lacks cannot open a list, whatever the layout allows.
            const bool has = rowHasSetting(kAdvancedRows[static_cast<std::size_t>(row)], rig.core->state());
            EXPECT_EQ(rig.button(row).isEnabled(), rowPlan.enabled && has) << row;
            if (rig.button(row).isEnabled()) {
                EXPECT_FALSE(
                    optionListLines(kAdvancedRows[static_cast<std::size_t>(row)], rig.core->state()).empty())
                    << row << ": an enabled button with an empty list";
            }
        }
        EXPECT_EQ(rig.page().modeRadio(PowerMode::Max)->isVisible(), plan.radiosShown);
        EXPECT_EQ(ui::findControl(rig.page(), ids::kGroups[1])->isVisible(), plan.ddrAndMchGroupsShown);
        EXPECT_EQ(ui::findControl(rig.page(), ids::kReadouts[0].valueId)->isVisible(), plan.readoutsShown);
    }
}

TEST(AdvancedPage, BoardSpecificsOnThePage) {
    {
        AdvancedPageRig rig(2904);
        EXPECT_EQ(rig.button(6).y(), rig.button(19).y()) << "both remaining rows on the first line";
        EXPECT_FALSE(rig.page().modeRadio(PowerMode::Default)->isVisible());
        EXPECT_EQ(rig.page().readoutText(1061), QStringLiteral("N/A."));
        EXPECT_EQ(rig.caption(6), QStringLiteral("Auto")) << "2904's CPU phase switch at 0";
    }
    {
        AdvancedPageRig rig(2903);
        EXPECT_EQ(rig.caption(1), QStringLiteral("N/A.")) << "a setting the board lacks keeps N/A.";
        EXPECT_FALSE(rig.button(1).isEnabled());
        EXPECT_EQ(rig.page().rowLabel(15)->text(), QStringLiteral("NB Voltage"));
    }
    {
        AdvancedPageRig rig(2906);
        rig.value(6) = 0;
        rig.core->state().routines.activeCpuPhases = 4;
        rig.page().OnSetActive();
        EXPECT_EQ(rig.caption(6), QStringLiteral("Auto (4)"));
    }
    {
        AdvancedPageRig rig(2912);
        EXPECT_FALSE(ui::findControl(rig.page(), 1194)->isVisible()) << "the DDR title picture";
        EXPECT_FALSE(ui::findControl(rig.page(), 1208)->isVisible()) << "a read-out caption";
    }
}

TEST(AdvancedPage, RowsOfSettingsTheBoardLacksReadNotAvailable) {
    AdvancedPageRig rig(2901);
    int lacking = 0;
    for (const auto& row : kAdvancedRows) {
        if (!rig.button(row.setting).isVisible() || rowHasSetting(row, rig.core->state()))
            continue;
        SCOPED_TRACE(row.setting);
        ++lacking;
        EXPECT_FALSE(rig.button(row.setting).isEnabled());
        if (row.kind != ListKind::Fan) {
            EXPECT_EQ(rig.caption(row.setting), QStringLiteral("N/A."));
            rig.page().OnSetActive(); // a caption refresh leaves it
            EXPECT_EQ(rig.caption(row.setting), QStringLiteral("N/A."));
        }
    }
    EXPECT_GT(lacking, 0) << "2901 lacks some of the settings its layout shows";
}

TEST(AdvancedPage, TheListClosesBeforeAWarningAsksAndWithTheWindow) {
    struct WatchingPrompt final : platform::Prompt {
        platform::PromptAnswer ask(const platform::PromptRequest& request) override {
            asked.push_back(request.text);
            listShownWhenAsked.push_back(listShown());
            return platform::PromptAnswer::Cancel;
        }
        std::function<bool()> listShown;
        std::vector<std::string> asked;
        std::vector<bool> listShownWhenAsked;
    };
    WatchingPrompt prompt;
    AdvancedPageRig rig(2917, &prompt);
    prompt.listShown = [&rig] { return rig.list().isVisible(); };
    rig.page().OnValueButton(kCpuVoltage);
    ASSERT_TRUE(rig.list().isVisible());
    ASSERT_NE(rig.list().windowHandle(), nullptr);
    EXPECT_EQ(rig.list().windowHandle()->transientParent(), rig.window->windowHandle())
        << "the list belongs to the main window";
    rig.choose(50); // beyond the stable limit
    ASSERT_EQ(prompt.asked.size(), 1U);
    EXPECT_FALSE(prompt.listShownWhenAsked[0]) << "the list stood over the warning";

    rig.page().OnValueButton(kCpuVoltage);
    ASSERT_TRUE(rig.list().isVisible());
    rig.window->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(rig.list().isVisible()) << "left on the screen without its window";
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, -1);
    rig.window->showNormal();
    rig.page().OnValueButton(kCpuVoltage);
    ASSERT_TRUE(rig.list().isVisible());
    rig.window->move(rig.window->pos() + QPoint(30, 20));
    QApplication::processEvents();
    EXPECT_FALSE(rig.list().isVisible()) << "left behind by a moved window";
}

TEST(AdvancedPage, TheListsColoursReadOnTheDarkGroundAndKeepTheirMeaning) {
    AdvancedPageRig rig(2917);
    rig.value(kCpuVoltage) = 30;
    rig.page().OnValueButton(kCpuVoltage);
    auto& box = rig.list().list();
    // One entry of each kind: current, out of range, beyond the stable limit, default, plain.
    const std::array<int, 5> entries{30, 70, 60, 16, 20};
    std::set<std::pair<QRgb, QRgb>> looks;
    for (const int entry : entries) {
        SCOPED_TRACE(entry);
        const auto line = box.line(entry);
        const auto text = ui::ColorRef::fromQColor(box.textColor(line.textIndex));
        const auto ground = ui::ColorRef::fromQColor(box.groundColor(line.backIndex));
        EXPECT_GE(ui::palette::contrastRatio(text, ground), 4.5);
        looks.insert({box.textColor(line.textIndex).rgb(), box.groundColor(line.backIndex).rgb()});
    }
    EXPECT_EQ(looks.size(), entries.size()) << "each kind of entry looks different";
    EXPECT_LT(ui::palette::contrastRatio(ui::ColorRef::fromQColor(box.groundColor(box.line(20).backIndex)),
                                         ui::palette::kInk),
              2.0)
        << "plain entries on the dark field";
}

TEST(AdvancedPage, AVoltageListOpensBelowItsButtonScrolledToTheCurrentValue) {
    AdvancedPageRig rig(2917);
    rig.value(kCpuVoltage) = 8;
    rig.page().OnValueButton(kCpuVoltage);
    ASSERT_TRUE(rig.list().isVisible());
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, kCpuVoltage);
    auto& box = rig.list().list();
    EXPECT_EQ(ui::controlId(box), ids::kOptionList);
    ASSERT_EQ(box.count(), 80);
    EXPECT_EQ(box.line(8).backIndex, 13) << "the current value white on blue";
    EXPECT_EQ(box.line(60).backIndex, 12) << "beyond the stable limit purple on yellow";
    EXPECT_EQ(box.indexAt(QPoint(5, 2)).row(), 3) << "entry 3 on top";
    const QPoint buttonOnScreen = rig.button(kCpuVoltage).mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(rig.list().geometry(),
              QRect(buttonOnScreen.x(), buttonOnScreen.y() + rig.button(kCpuVoltage).height(), 120, 300));
    EXPECT_FALSE(rig.list().isActiveWindow()) << "shown without taking the focus";

    // The CPU phase list opens above its button, half as high.
    rig.page().OnValueButton(6);
    const QPoint phaseOnScreen = rig.button(6).mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(rig.list().geometry(), QRect(phaseOnScreen.x(), phaseOnScreen.y() - 150, 120, 150));
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, 6) << "another row's press moves the list";
    rig.page().OnValueButton(6);
    EXPECT_FALSE(rig.list().isVisible()) << "the same press again closes it";
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, -1);
}

TEST(AdvancedPage, BackgroundClicksCloseTheListWithoutChangingAnything) {
    AdvancedPageRig rig(2917);
    const auto before = rig.value(kCpuVoltage);
    rig.page().OnValueButton(kCpuVoltage);
    test::click(rig.page(), QPoint(5, 380));
    EXPECT_FALSE(rig.list().isVisible());
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, -1);
    EXPECT_EQ(rig.value(kCpuVoltage), before);
    // On the main window's own background: command 33044 closes it.
    rig.page().OnValueButton(kCpuVoltage);
    test::click(*rig.window, QPoint(700, 530));
    EXPECT_FALSE(rig.list().isVisible());
    EXPECT_EQ(rig.core->state().routines.popupOpenIndex, -1);
}

TEST(AdvancedPage, AnUnstableChoiceWarnsAndIsWrittenOnOkOrTakenBackOnCancel) {
    AdvancedPageRig rig(2917);
    auto& prompt = rig.parts.prompt;
    rig.page().OnValueButton(kCpuVoltage);
    prompt.queue(platform::PromptAnswer::Ok);
    rig.choose(50);
    ASSERT_EQ(prompt.asked().size(), 1U);
    EXPECT_EQ(prompt.asked()[0].text, "This is not a stable CPU voltage !\nDo you want to do it?");
    EXPECT_EQ(prompt.asked()[0].caption, "Warning!");
    EXPECT_EQ(rig.cpuRegister(), codeListB(50));
    EXPECT_FALSE(rig.list().isVisible());
    rig.parts.clock.advance(1000);
    EXPECT_EQ(rig.caption(kCpuVoltage).toStdString(), rig.core->state().options.lists[0].texts[50]);

    rig.page().OnValueButton(kCpuVoltage);
    prompt.queue(platform::PromptAnswer::Cancel);
    rig.choose(70);
    EXPECT_EQ(rig.cpuRegister(), codeListB(50)) << "nothing written";
    EXPECT_EQ(rig.value(kCpuVoltage), 50) << "the earlier value back";
    rig.parts.clock.advance(1000);
    EXPECT_EQ(rig.caption(kCpuVoltage).toStdString(), rig.core->state().options.lists[0].texts[50]);

    // A stable choice asks nothing.
    rig.page().OnValueButton(kCpuVoltage);
    rig.choose(20);
    EXPECT_EQ(prompt.asked().size(), 2U);
    EXPECT_EQ(rig.cpuRegister(), codeListB(20));
}

TEST(AdvancedPage, WithTheChecksOffTheCaptionsKeepTheirText) {
    AdvancedPageRig rig(2917);
    const QString shown = rig.caption(kCpuVoltage);
    rig.core->state().routines.checksEnabled = false;
    rig.value(kCpuVoltage) = 30;
    rig.page().OnValueButton(kCpuVoltage);
    rig.page().OnValueButton(kCpuVoltage);
    rig.parts.clock.advance(3000);
    EXPECT_EQ(rig.caption(kCpuVoltage), shown);
}

TEST(AdvancedPage, ModeRadiosSelectTheModeAndItsProfileKey) {
    AdvancedPageRig rig(2917);
    rig.parts.clock.advance(3000); // the monitor's first refresh has seen the start mode
    test::click(*rig.page().modeRadio(PowerMode::Max));
    EXPECT_EQ(rig.core->state().modes.ActiveMode, PowerMode::Max);
    EXPECT_EQ(rig.core->state().modes.ActiveModeKey, "Software\\Tarvok\\SolvaneCenter\\Max");
    EXPECT_TRUE(rig.page().modeRadio(PowerMode::Max)->GetCheck());
    EXPECT_FALSE(rig.page().modeRadio(PowerMode::Default)->GetCheck());
    EXPECT_TRUE(rig.page().timers().captionTimer().running());
    rig.parts.clock.advance(3300); // the basic page's monitor applies the mode at its next refresh
    EXPECT_EQ(rig.parts.registry.readString(power::kProductKey, "EnableSolvane"), "2");
}

TEST(AdvancedPage, SavingChangingAndLoadingAProfileBringsTheRegistersBack) {
    AdvancedPageRig rig(2917);
    auto& page = rig.page();
    page.OnValueButton(kCpuVoltage);
    rig.choose(20);
    const auto saved = rig.cpuRegister();

    page.OnSave();
    EXPECT_TRUE(page.nameEdit()->isVisible());
    EXPECT_FALSE(ui::findControl(page, ids::kSave)->isEnabled());
    EXPECT_FALSE(ui::findControl(page, ids::kLoad)->isEnabled());
    page.nameEdit()->setText(QStringLiteral("Cool"));
    EXPECT_TRUE(ui::findControl(page, ids::kSave)->isEnabled());
    page.OnSave();
    EXPECT_FALSE(page.nameEdit()->isVisible());
    EXPECT_TRUE(page.nameEdit()->text().isEmpty());
    EXPECT_EQ(rig.parts.registry.readString(power::kDefaultModeKey, "SavedSettings"), "Cool;");

    page.OnValueButton(kCpuVoltage);
    rig.choose(30);
    ASSERT_EQ(rig.cpuRegister(), codeListB(30));
    page.OnProfileCommand(32842);
    EXPECT_EQ(rig.cpuRegister(), saved);
    EXPECT_EQ(rig.value(kCpuVoltage), 20);
    EXPECT_TRUE(page.timers().captionTimer().running());

    // The defaults item loads the mode's vector.
    power::SaveModeSettings(rig.core->state().modes, rig.parts.registry);
    page.OnProfileCommand(32885);
    EXPECT_EQ(rig.cpuRegister(), codeListB(16));
}

TEST(AdvancedPage, AFailedCheckKeepsTheNameSelectedInTheEdit) {
    AdvancedPageRig rig(2917);
    auto& page = rig.page();
    page.OnSave();
    page.nameEdit()->setText(QStringLiteral("First"));
    page.OnSave();
    page.OnSave();
    page.nameEdit()->setText(QStringLiteral("First"));
    page.OnSave();
    ASSERT_EQ(rig.parts.prompt.asked().size(), 1U);
    EXPECT_EQ(rig.parts.prompt.asked()[0].caption, "Duplicate name");
    EXPECT_TRUE(page.nameEdit()->isVisible()) << "still naming";
    EXPECT_EQ(page.nameEdit()->selectedText(), QStringLiteral("First"));
    page.OnSave(); // the same name again: the same answer, nothing stored
    EXPECT_EQ(rig.parts.prompt.asked().size(), 2U);
    page.OnCancel();
    EXPECT_FALSE(page.nameEdit()->isVisible());
    EXPECT_TRUE(ui::findControl(page, ids::kLoad)->isEnabled());
    EXPECT_EQ(rig.parts.registry.readString(power::kDefaultModeKey, "SavedSettings"), "First;");
}

TEST(AdvancedPage, DeletingAsksFirst) {
    AdvancedPageRig rig(2917);
    auto& page = rig.page();
    page.OnSave();
    page.nameEdit()->setText(QStringLiteral("Gone"));
    page.OnSave();
    rig.parts.prompt.queue(platform::PromptAnswer::Cancel);
    page.OnProfileCommand(32862);
    EXPECT_EQ(rig.parts.prompt.asked().back().text, "Are you sure to delete \"Gone\" setting ?");
    EXPECT_EQ(rig.parts.prompt.asked().back().caption, "Warning!");
    EXPECT_EQ(rig.parts.registry.readString(power::kDefaultModeKey, "SavedSettings"), "Gone;");
    rig.parts.prompt.queue(platform::PromptAnswer::Ok);
    page.OnProfileCommand(32862);
    EXPECT_FALSE(rig.parts.registry.readString(power::kDefaultModeKey, "SavedSettings"));
    EXPECT_FALSE(rig.parts.registry.readString(power::kDefaultModeKey, "Gone"));
}

// ---- On the screen -------------------------------------------------------------------------------

using test::clickAt;
using test::clickOn;
using test::onScreen;
using test::waitFor;
using test::xdotool;

// Answers the next message box with its button of that role, clicked with the pointer, from inside
// the box's own modal loop. The text and caption of the box are kept.
struct ScreenAnswer {
    void arm(QMessageBox::StandardButton answer) {
        QTimer::singleShot(50, [this, answer] { poll(answer); });
    }
    void poll(QMessageBox::StandardButton answer) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->button(answer) == nullptr || !box->isVisible()) {
            QTimer::singleShot(50, [this, answer] { poll(answer); });
            return;
        }
        text = box->text();
        caption = box->windowTitle();
        auto* button = box->button(answer);
        clickAt(button->mapToGlobal(button->rect().center()));
    }
    QString text;
    QString caption;
};

TEST(AdvancedPageOnTheScreen, AClickedVoltageBeyondTheStableLimitIsWrittenOnOkAndTakenBackOnCancel) {
    if (!onScreen())
        GTEST_SKIP() << "needs an X server and xdotool (run the suite under xvfb-run)";
    app::QtPrompt screenPrompt;
    AdvancedPageRig rig(2917, &screenPrompt);
    rig.window->move(40, 40);
    rig.window->raise();
    rig.window->activateWindow();
    ASSERT_TRUE(waitFor(
        [&] { return rig.window->windowHandle() != nullptr && rig.window->windowHandle()->isExposed(); }));
    const auto clickEntry = [&](int position) {
        auto& box = rig.list().list();
        box.scrollToItem(box.item(position));
        QApplication::processEvents();
        clickAt(box.viewport()->mapToGlobal(box.visualItemRect(box.item(position)).center()));
    };
    const auto advanceWhileShowing = [&](unsigned ms) {
        rig.parts.clock.advance(ms);
        QApplication::processEvents();
    };

    clickOn(rig.button(kCpuVoltage));
    ASSERT_TRUE(waitFor([&] { return rig.list().isVisible() && rig.list().windowHandle()->isExposed(); }));
    ScreenAnswer ok;
    ok.arm(QMessageBox::Ok);
    clickEntry(55);
    ASSERT_TRUE(waitFor([&] { return rig.value(kCpuVoltage) == 55 && !rig.list().isVisible(); }));
    EXPECT_EQ(ok.caption, QStringLiteral("Warning!"));
    EXPECT_EQ(ok.text, QStringLiteral("This is not a stable CPU voltage !\nDo you want to do it?"));
    EXPECT_EQ(rig.cpuRegister(), codeListB(55));
    advanceWhileShowing(1000);
    EXPECT_EQ(rig.caption(kCpuVoltage).toStdString(), rig.core->state().options.lists[0].texts[55]);

    clickOn(rig.button(kCpuVoltage));
    ASSERT_TRUE(waitFor([&] { return rig.list().isVisible(); }));
    ScreenAnswer cancel;
    cancel.arm(QMessageBox::Cancel);
    clickEntry(62);
    ASSERT_TRUE(waitFor([&] { return !cancel.caption.isEmpty() && !rig.list().isVisible(); }));
    EXPECT_EQ(rig.value(kCpuVoltage), 55) << "the earlier value back";
    EXPECT_EQ(rig.cpuRegister(), codeListB(55)) << "nothing written";
    advanceWhileShowing(1000);
    EXPECT_EQ(rig.caption(kCpuVoltage).toStdString(), rig.core->state().options.lists[0].texts[55]);

    // A profile saved by name, a setting changed, the profile loaded from its menu.
    clickOn(*ui::findControl(rig.page(), ids::kSave));
    ASSERT_TRUE(waitFor([&] { return rig.page().nameEdit()->isVisible(); }));
    clickOn(*rig.page().nameEdit());
    xdotool("type --delay 20 Evening");
    ASSERT_TRUE(waitFor([&] { return rig.page().nameEdit()->text() == QStringLiteral("Evening"); }));
    clickOn(*ui::findControl(rig.page(), ids::kSave));
    ASSERT_TRUE(waitFor([&] { return !rig.page().nameEdit()->isVisible(); }));
    EXPECT_EQ(rig.parts.registry.readString(power::kDefaultModeKey, "SavedSettings"), "Evening;");

    clickOn(rig.button(kCpuVoltage));
    ASSERT_TRUE(waitFor([&] { return rig.list().isVisible(); }));
    clickEntry(20);
    ASSERT_TRUE(waitFor([&] { return rig.value(kCpuVoltage) == 20; }));
    ASSERT_EQ(rig.cpuRegister(), codeListB(20));

    // The Load button's menu: its "Load User Setting" submenu, the first slot.
    QTimer::singleShot(300, [] {
        xdotool("key Down Down Right");
        xdotool("key Return");
    });
    clickOn(*ui::findControl(rig.page(), ids::kLoad));
    ASSERT_TRUE(waitFor([&] { return rig.value(kCpuVoltage) == 55; }));
    EXPECT_EQ(rig.cpuRegister(), codeListB(55)) << "the saved value is back in the register";
}

// ---- The program itself on the screen ---------------------------------------------------------

using test::ProgramOnScreen;

void openAdvancedPage(ProgramOnScreen& program) {
    program.openPage({ui::main_window_ids::kProduct, ui::main_window_ids::kAdvanced,
                      ui::main_window_ids::kMotherboardSettings});
}

// Opens the CPU voltage list and clicks an entry near its bottom after scrolling it down.
void pickHighCpuVoltage(ProgramOnScreen& program) {
    namespace layout = advanced_layout;
    const QRect box = layout::kGroupBoxes[0];
    const QPoint button = ProgramOnScreen::onPage(
        QPoint(box.right() + 1 - layout::kButtonRightMargin - layout::kValueButtonWidth / 2,
               box.y() + layout::kFirstRowTop + layout::kValueButtonHeight / 2));
    program.click(button);
    const QPoint nearBottom =
        button + QPoint(0, layout::kValueButtonHeight / 2 + layout::kOptionListSize.height() - 20);
    const QPoint at = program.onScreenAt(nearBottom);
    xdotool("mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) +
            " click --repeat 12 5 sleep 0.3 click 1");
}

// Answers the "Warning!" box with a key once it is up.
void answerWarning(const ProgramOnScreen& program, const char* key) {
    xdotool("search --sync --all --onlyvisible --pid " + std::to_string(program.pid()) +
            " --name 'Warning!' sleep 0.2 windowfocus sleep 0.2");
    // Typed, not sent to the window: the box takes it as a user's key.
    xdotool(std::string("key ") + key + " sleep 0.4");
}

// The report of the state folder: the CPU voltage the board reads back.
int reportedCpuVoltage(const std::filesystem::path& state, const std::filesystem::path& runtime) {
    const auto root = test::programReport(state, runtime);
    for (const auto& setting : root.value(QStringLiteral("settings")).toArray())
        if (setting.toObject().value(QStringLiteral("key")).toString() == QStringLiteral("CPU_VOLTAGE"))
            return setting.toObject().value(QStringLiteral("value")).toInt();
    return -1;
}

TEST(AdvancedPageOnTheScreen, TheProgramWritesAWarnedVoltageOnOkKeepsItOnCancelAndLoadsAProfileBack) {
    if (!onScreen())
        GTEST_SKIP() << "needs an X server and xdotool (run the suite under xvfb-run)";
    if (!std::filesystem::exists(test::programFolder() / "solvane"))
        GTEST_SKIP() << "the program is not built";
    test::TempFolder state;
    test::TempFolder runtime;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    int warned = -1;
    {
        ProgramOnScreen program(state.path(), runtime.path());
        ASSERT_TRUE(program.found());
        openAdvancedPage(program);
        pickHighCpuVoltage(program);
        answerWarning(program, "Return");
        program.exit();
        ASSERT_EQ(program.wait(), 0);
    }
    warned = reportedCpuVoltage(state.path(), runtime.path());
    EXPECT_GE(warned, 48) << "a voltage beyond the stable limit, read back from the board";
    {
        ProgramOnScreen program(state.path(), runtime.path());
        ASSERT_TRUE(program.found());
        openAdvancedPage(program);
        pickHighCpuVoltage(program);
        answerWarning(program, "Escape");
        // Save the profile "Evening", pick another voltage (answering OK), load "Evening" back.
        namespace layout = advanced_layout;
        const auto centre = [](const QRect& rect) { return ProgramOnScreen::onPage(rect.center()); };
        program.click(centre(layout::kSave));
        program.click(centre(layout::kNameEdit));
        xdotool("type --delay 30 Evening");
        program.click(centre(layout::kSave));
        pickHighCpuVoltage(program);
        answerWarning(program, "Return");
        program.click(ProgramOnScreen::onPage(QPoint(layout::kLoad.left() + 5, layout::kLoad.center().y())));
        xdotool("sleep 0.4 key Down Down Right sleep 0.3 key Return sleep 0.5");
        program.exit();
        ASSERT_EQ(program.wait(), 0);
    }
    EXPECT_EQ(reportedCpuVoltage(state.path(), runtime.path()), warned)
        << "Cancel kept it, and the profile saved with it brought it back";
    const auto registry = test::readTextFile(state.path() / "registry.reg");
    EXPECT_NE(registry.find("\"SavedSettings\"=\"Evening;\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("\"Evening\"=\"" + std::to_string(warned) + ";"), std::string::npos) << registry;
}

} // namespace
} // namespace solvane::tuning::pages
