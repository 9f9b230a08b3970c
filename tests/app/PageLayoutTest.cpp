// Where each page's controls end up in the main window, on boards that lay their pages out
// differently: every control shown lies on its page, and nothing a user clicks covers another
// control or its text. (Two labels' boxes may meet: a box is taller than the text it holds.)
#include "WindowOnScreen.h"
#include "ui/ControlId.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace solvane::app {
namespace {

namespace nav = ui::main_window_ids;

struct PageCase {
    const char* page; // the page's object name
    std::initializer_list<int> buttons;
};

const PageCase kPages[] = {
    {"CSLV_NOVICE", {nav::kProduct, nav::kBasic}},
    {"CSLV_ADVANCE_MB", {nav::kProduct, nav::kAdvanced, nav::kMotherboardSettings}},
    {"CSLV_ADVANCE_LED", {nav::kProduct, nav::kAdvanced, nav::kLedSettings}},
    {"CSYSINFO_MEMORY", {nav::kSystemInfo, nav::kMemory}},
    {"CSYSINFO_PCI", {nav::kSystemInfo, nav::kPci}},
    {"CSYSINFO_MB", {nav::kSystemInfo, nav::kMotherboardInfo}},
};

bool clicked(const QWidget& widget) {
    return qobject_cast<const QAbstractButton*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QTreeWidget*>(&widget);
}

// A control a user reads or clicks; pictures and group frames lie under them by design.
bool readOrClicked(const QWidget& widget) {
    const auto* label = qobject_cast<const QLabel*>(&widget);
    return clicked(widget) || (label != nullptr && !label->text().isEmpty() && label->pixmap().isNull());
}

QString nameOf(const QWidget& widget) {
    return QString::fromLatin1(widget.metaObject()->className()) + QLatin1Char(' ') +
           (qobject_cast<const QLabel*>(&widget) ? qobject_cast<const QLabel*>(&widget)->text()
            : qobject_cast<const QAbstractButton*>(&widget)
                ? qobject_cast<const QAbstractButton*>(&widget)->text()
                : QString()) +
           QStringLiteral(" at ") + QString::number(widget.x()) + QLatin1Char(',') +
           QString::number(widget.y());
}

void expectLaidOut(const QWidget& page) {
    std::vector<const QWidget*> shown;
    for (const auto* child : page.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&page) || child->window() != page.window())
            continue;
        const QRect place(child->mapTo(&page, QPoint(0, 0)), child->size());
        EXPECT_TRUE(place.isEmpty() || page.rect().contains(place)) << nameOf(*child).toStdString();
        if (child->parentWidget() == &page && readOrClicked(*child) && !qobject_cast<const QGroupBox*>(child))
            shown.push_back(child);
        // Each control a user reads or clicks answers to its dialog number, as the dialog names it.
        if (child->parentWidget() == &page && clicked(*child)) {
            EXPECT_NE(ui::controlId(*child), 0) << nameOf(*child).toStdString();
        }
    }
    EXPECT_GT(shown.size(), 3U);
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE((clicked(*shown[i]) || clicked(*shown[j])) &&
                         shown[i]->geometry().intersects(shown[j]->geometry()))
                << nameOf(*shown[i]).toStdString() << " and " << nameOf(*shown[j]).toStdString();
}

TEST(PageLayout, EveryControlShownLiesOnItsPageAndNoneCoversAnother) {
    // 2917 shows every page whole; 2912 keeps only the CPU rows, moved up; 2904 and 2910 re-space
    // the rows without their phase rows; 2901 renames the bridges' voltages.
    for (const int board : {2917, 2912, 2910, 2904, 2901}) {
        for (const auto& [pageName, buttons] : kPages) {
            SCOPED_TRACE(std::to_string(board) + " " + pageName);
            test::MainWindowRig rig(board, buttons);
            auto* page = rig.window->findChild<QWidget*>(QLatin1String(pageName));
            ASSERT_NE(page, nullptr);
            if (!page->isVisible())
                continue; // the board has no such page
            expectLaidOut(*page);
            // Saving a profile brings up its name field and Cancel beside the buttons.
            for (auto* button : page->findChildren<QAbstractButton*>()) {
                if (button->isVisible() && button->text() == QStringLiteral("Save")) {
                    SCOPED_TRACE("naming a profile");
                    button->click();
                    expectLaidOut(*page);
                    break;
                }
            }
        }
    }
}

} // namespace
} // namespace solvane::app
