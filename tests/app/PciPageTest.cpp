// The PCI page through its real widgets, on a PCI bus set up by the test; and once on the screen,
// clicked through the X server.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "sysinfo/PciTestBus.h"
#include "sysinfo/pages/CSYSINFO_PCI.h"
#include "sysinfo/pages/PciPageIds.h"
#include "ui/ControlId.h"
#include "ui/RecordingNotificationShell.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>

namespace solvane::sysinfo::pages {
namespace {

namespace ids = pci_ids;
using test::PciTestBus;

// A host bridge, an EHCI controller with its bytes numbered by offset, and a network controller of
// a vendor the page does not know.
void fillBus(PciTestBus& bus) {
    bus.add(0, 0, 0, 0x8086, 0x2E30, 0x0600, 0, 0x03);
    auto& ehci = bus.add(0, 0x1D, 7, 0x8086, 0x3A3A, 0x0C03, 0x20, 0x02);
    for (std::size_t offset = 0x10; offset < ehci.size(); ++offset)
        ehci[offset] = static_cast<std::uint8_t>(offset);
    ehci[0x3C] = 0x17;
    ehci[0x3D] = 0x04;
    bus.add(3, 0, 0, 0x14E4, 0x1681, 0x0200, 0, 0x01);
    bus.add(0x0C, 1, 2, 0x10EC, 0x8168, 0x0200, 0, 0x06); // beyond bus 9: reachable through Apply only
}

class PciPage : public testing::Test {
protected:
    PciPage() {
        fillBus(bus);
        scan = enumeratePci(bus);
        page =
            std::make_unique<CSYSINFO_PCI>(scan, bus, prompt, [](std::uint16_t vendor, std::uint16_t device) {
                return vendor == 0x14E4
                           ? std::optional<std::string>("Broadcom Inc. NetXtreme BCM5761 Gigabit Ethernet")
                           : (device == 0x2E30 ? std::optional<std::string>("Intel 4 Series DRAM")
                                               : std::nullopt);
            });
        page->InitDialog();
        page->show();
    }

    template <class Control> Control& control(int id) {
        auto* found = qobject_cast<Control*>(ui::findControl(*page, id));
        if (found == nullptr)
            throw std::runtime_error("no control " + std::to_string(id));
        return *found;
    }
    QString header(PciHeaderValue value) { return page->headerText(value); }
    QTreeWidget& list() { return control<QTreeWidget>(ids::kDeviceList); }
    QLineEdit& entry(int index) { return control<QLineEdit>(ids::kBusEntry + index); }
    QString hexRow(int row) { return control<QLabel>(ids::kFirstHexRow + row).text(); }

    void clickList(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* viewport = list().viewport();
        const QPointF local(at);
        QMouseEvent press(QEvent::MouseButtonPress, local, viewport->mapToGlobal(local), button, button,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, local, viewport->mapToGlobal(local), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QApplication::sendEvent(viewport, &release);
    }
    void clickRow(int row) { clickList(list().visualItemRect(list().topLevelItem(row)).center()); }

    void type(QLineEdit& edit, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit, &press);
        }
    }

    // The items the right-click menu over a control shows checked; the menu is then dismissed.
    QStringList checkedOnRightClick(QWidget& target) {
        QStringList checked;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            shown = true;
            for (const QAction* action : menu->actions())
                if (action->isChecked())
                    checked << action->text();
            menu->close();
        });
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, target.mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &press);
        EXPECT_TRUE(shown) << "no menu";
        return checked;
    }

    PciTestBus bus;
    PciScan scan;
    platform::ScriptedPrompt prompt;
    std::unique_ptr<CSYSINFO_PCI> page;
};

TEST_F(PciPage, TheListViewIsPlacedAndFilledAsTheDeviceList) {
    auto& view = list();
    EXPECT_EQ(view.geometry().topLeft(), QPoint(43, 40));
    EXPECT_EQ(view.width(), 490);
    ASSERT_EQ(view.columnCount(), 4);
    const int widths[] = {280, 60, 60, 60};
    const char* headings[] = {"PCI Device", "Bus#", "Dev#", "Func#"};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(view.columnWidth(column), widths[column]);
        EXPECT_EQ(view.headerItem()->text(column), QString::fromLatin1(headings[column]));
    }
    EXPECT_EQ(view.headerItem()->textAlignment(2), int(Qt::AlignCenter));
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    ASSERT_EQ(view.topLevelItemCount(), 3);
    const auto* ehci = view.topLevelItem(1);
    EXPECT_EQ(ehci->text(0), QStringLiteral("Intel USB Controller"));
    EXPECT_EQ(ehci->text(1), QStringLiteral("0x00"));
    EXPECT_EQ(ehci->text(2), QStringLiteral("0x1D"));
    EXPECT_EQ(ehci->text(3), QStringLiteral("0x07"));
    EXPECT_NE(ehci->textAlignment(0), int(Qt::AlignCenter)) << "the name reads from the left";
    for (int column = 1; column < 4; ++column)
        EXPECT_EQ(ehci->textAlignment(column), int(Qt::AlignCenter)) << "numbers stand under their heading";
    EXPECT_EQ(view.topLevelItem(2)->text(0), QStringLiteral("Unknown Ethernet Controller"));
    auto& dropDown = control<QComboBox>(ids::kDeviceDropDown);
    EXPECT_EQ(dropDown.count(), 3);
    EXPECT_EQ(dropDown.itemText(2), QStringLiteral("Unknown Ethernet Controller"));
}

// However many devices there are, the list shows whole rows below a header that is dark to its end.
TEST_F(PciPage, TheListShowsWholeRowsUnderAHeaderDarkToItsEnd) {
    auto& view = list();
    QApplication::processEvents();
    const int row = view.visualItemRect(view.topLevelItem(0)).height();
    ASSERT_GT(row, 0);
    EXPECT_EQ(view.viewport()->height() % row, 0) << "the last row would be cut";
    EXPECT_LE(view.height(), 320);
    EXPECT_GT(view.height(), 320 - row);

    auto* heading = view.header();
    const QImage picture = heading->grab().toImage();
    const int pastTheColumns = heading->length() + 4;
    ASSERT_LT(pastTheColumns, picture.width()) << "the columns fill the header";
    EXPECT_LT(picture.pixelColor(pastTheColumns, picture.height() / 2).lightness(), 100)
        << "a light patch beside the last column";
}

TEST_F(PciPage, DeviceZeroIsShownFromTheStart) {
    EXPECT_EQ(header(PciHeaderValue::VendorId), QStringLiteral("0x8086"));
    EXPECT_EQ(header(PciHeaderValue::DeviceId), QStringLiteral("0x2E30"));
    EXPECT_EQ(header(PciHeaderValue::RevisionId), QStringLiteral("0x03"));
    EXPECT_EQ(header(PciHeaderValue::ClassCode), QStringLiteral("0x060000"));
    EXPECT_EQ(control<QComboBox>(ids::kDeviceDropDown).currentIndex(), 0);
    // Each value sits in the label the template numbers it with.
    EXPECT_EQ(control<ui::CLabel>(1129).text(), QStringLiteral("0x2E30"));
    EXPECT_EQ(control<ui::CLabel>(1136).text(), QStringLiteral("0x060000"));
}

TEST_F(PciPage, ClickingARowShowsItsHeaderAndAClickBesideTheRowsChangesNothing) {
    clickRow(1);
    EXPECT_EQ(header(PciHeaderValue::DeviceId), QStringLiteral("0x3A3A"));
    EXPECT_EQ(header(PciHeaderValue::ClassCode), QStringLiteral("0x0C0320"));
    EXPECT_EQ(header(PciHeaderValue::InterruptLine), QStringLiteral("0x17"));
    EXPECT_EQ(header(PciHeaderValue::InterruptPin), QStringLiteral("0x04"));
    EXPECT_EQ(control<ui::CLabel>(1137).text(), QStringLiteral("0x04"));
    EXPECT_EQ(entry(1).text(), QStringLiteral("1D"));
    EXPECT_FALSE(control<QPushButton>(ids::kApply).isEnabled());

    // Below the last row: the selection goes, and the header stays as it was.
    list().clearSelection();
    clickList(QPoint(20, list().viewport()->height() - 5));
    EXPECT_EQ(header(PciHeaderValue::DeviceId), QStringLiteral("0x3A3A"));
}

TEST_F(PciPage, SelectOnTheMenuAndTheDropDownShowTheirDevice) {
    list().setCurrentItem(list().topLevelItem(2));
    page->onMenuCommand(ids::kSelectCommand);
    EXPECT_EQ(header(PciHeaderValue::VendorId), QStringLiteral("0x14E4"));
    EXPECT_EQ(control<QComboBox>(ids::kDeviceDropDown).currentIndex(), 2) << "the drop-down follows";
    emit control<QComboBox>(ids::kDeviceDropDown).activated(1);
    EXPECT_EQ(header(PciHeaderValue::VendorId), QStringLiteral("0x8086"));
    EXPECT_EQ(header(PciHeaderValue::DeviceId), QStringLiteral("0x3A3A"));
}

TEST_F(PciPage, RowsAndTheDropDownCarryTheDatabaseNamesAsToolTips) {
    EXPECT_EQ(list().topLevelItem(2)->toolTip(0),
              QStringLiteral("Broadcom Inc. NetXtreme BCM5761 Gigabit Ethernet"));
    EXPECT_EQ(list().topLevelItem(2)->toolTip(3),
              QStringLiteral("Broadcom Inc. NetXtreme BCM5761 Gigabit Ethernet"));
    EXPECT_EQ(list().topLevelItem(0)->toolTip(0), QStringLiteral("Intel 4 Series DRAM"));
    EXPECT_EQ(list().topLevelItem(1)->toolTip(0), QString()) << "a function the database does not know";
    EXPECT_EQ(list().topLevelItem(2)->text(0), QStringLiteral("Unknown Ethernet Controller"))
        << "the row stays";
    const auto& dropDown = control<QComboBox>(ids::kDeviceDropDown);
    EXPECT_EQ(dropDown.itemData(2, Qt::ToolTipRole).toString(),
              QStringLiteral("Broadcom Inc. NetXtreme BCM5761 Gigabit Ethernet"));
    EXPECT_FALSE(dropDown.itemData(1, Qt::ToolTipRole).isValid()) << "a function the database does not know";
}

TEST_F(PciPage, EasyShowsTheHeaderOnlyAndExpertAddsTheConfigurationSpace) {
    EXPECT_TRUE(list().isVisible());
    EXPECT_FALSE(control<QLabel>(ids::kFirstHexRow).isVisible());
    EXPECT_FALSE(control<QComboBox>(ids::kDeviceDropDown).isVisible());
    page->onMenuCommand(ids::kExpertCommand);
    EXPECT_EQ(page->view().mode(), PciViewMode::Expert);
    for (const int id :
         {ids::kFirstHexRow, ids::kFirstHexRow + 15, ids::kColumnHeading, ids::kRowHeading,
          ids::kDeviceDropDown, ids::kBusEntry, ids::kFunctionEntry, ids::kApply, ids::kDwordWidth})
        EXPECT_TRUE(ui::findControl(*page, id)->isVisible()) << id;
    EXPECT_TRUE(control<ui::CLabel>(1128).isVisible()) << "the header values stay";
    page->onMenuCommand(ids::kEasyCommand);
    EXPECT_FALSE(control<QLabel>(ids::kFirstHexRow).isVisible());
    EXPECT_TRUE(list().isVisible());
}

// The right-click menus tick the view and the width being shown, and only those.
TEST_F(PciPage, TheRightClickMenusTickTheViewAndTheWidthShown) {
    const struct {
        int command;
        const char* viewTicked;
        const char* widthTicked;
    } cases[] = {
        {ids::kExpertCommand, "Expert", "BYTE"}, {ids::kWordCommand, "Expert", "WORD"},
        {ids::kDwordCommand, "Expert", "DWORD"}, {ids::kEasyCommand, "Easy", "DWORD"},
        {ids::kByteCommand, "Easy", "BYTE"},
    };
    for (const auto& [command, viewTicked, widthTicked] : cases) {
        SCOPED_TRACE(command);
        page->onMenuCommand(command);
        EXPECT_EQ(checkedOnRightClick(*page), QStringList{QString::fromLatin1(viewTicked)});
        EXPECT_EQ(checkedOnRightClick(control<QLabel>(ids::kFirstHexRow)),
                  QStringList{QString::fromLatin1(widthTicked)});
    }
}

TEST_F(PciPage, TheWidthBoxesAndMenuTwoFortyChangeTheRows) {
    page->onMenuCommand(ids::kExpertCommand);
    clickRow(1);
    EXPECT_EQ(hexRow(0), QStringLiteral("86 80 3A 3A 00 00 00 00 02 20 03 0C 00 00 00 00 "));
    EXPECT_EQ(control<QLabel>(ids::kColumnHeading).text(),
              QStringLiteral("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"));
    EXPECT_TRUE(control<QCheckBox>(ids::kByteWidth).isChecked());
    control<QCheckBox>(ids::kWordWidth).click();
    EXPECT_EQ(hexRow(1), QStringLiteral("1110 1312 1514 1716 1918 1B1A 1D1C 1F1E "));
    EXPECT_FALSE(control<QCheckBox>(ids::kByteWidth).isChecked());
    page->onMenuCommand(ids::kDwordCommand);
    EXPECT_TRUE(control<QCheckBox>(ids::kDwordWidth).isChecked());
    EXPECT_FALSE(control<QCheckBox>(ids::kWordWidth).isChecked());
    EXPECT_EQ(hexRow(15), QStringLiteral("F3F2F1F0 F7F6F5F4 FBFAF9F8 FFFEFDFC "));
    EXPECT_EQ(control<QLabel>(ids::kColumnHeading).text(), QStringLiteral("00       04       08       0C"));
}

TEST_F(PciPage, FullEntriesHandTheFocusOnAndEditingEnablesApply) {
    page->onMenuCommand(ids::kExpertCommand);
    page->activateWindow();
    QApplication::setActiveWindow(page.get());
    entry(0).setFocus();
    entry(0).selectAll();
    type(entry(0), QStringLiteral("0"));
    EXPECT_TRUE(control<QPushButton>(ids::kApply).isEnabled());
    EXPECT_TRUE(entry(0).hasFocus()) << "one digit: the focus stays";
    type(entry(0), QStringLiteral("c"));
    EXPECT_TRUE(entry(1).hasFocus());
    type(entry(1), QStringLiteral("01"));
    EXPECT_TRUE(entry(2).hasFocus());
    type(entry(2), QStringLiteral("02"));
    EXPECT_TRUE(control<QPushButton>(ids::kApply).hasFocus());
    EXPECT_EQ(entry(0).text(), QStringLiteral("0c"));
    type(entry(2), QStringLiteral("z")); // not a hexadecimal digit
    EXPECT_EQ(entry(2).text(), QStringLiteral("02"));
}

TEST_F(PciPage, ApplyShowsAnyFunctionPaddingItsEntries) {
    page->onMenuCommand(ids::kExpertCommand);
    entry(0).setText(QStringLiteral("C"));
    entry(1).setText(QStringLiteral("1"));
    entry(2).setText(QStringLiteral("2"));
    page->onApply();
    EXPECT_EQ(entry(0).text(), QStringLiteral("0C"));
    EXPECT_EQ(entry(1).text(), QStringLiteral("01"));
    EXPECT_EQ(header(PciHeaderValue::VendorId), QStringLiteral("0x10EC"))
        << "bus 0x0C is not listed, yet shown";
    EXPECT_EQ(control<QComboBox>(ids::kDeviceDropDown).currentIndex(), -1);
    EXPECT_TRUE(control<QLabel>(ids::kNoFunctionNote).text().isEmpty());
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_FALSE(control<QPushButton>(ids::kApply).isEnabled());

    // A listed function selects its row again.
    entry(0).setText(QStringLiteral("3"));
    entry(1).setText(QStringLiteral("0"));
    entry(2).setText(QStringLiteral("0"));
    page->onApply();
    EXPECT_EQ(control<QComboBox>(ids::kDeviceDropDown).currentIndex(), 2);
    EXPECT_EQ(list().currentItem(), list().topLevelItem(2));
}

TEST_F(PciPage, ApplyWithAnEmptyEntryAsksForAllThree) {
    page->onMenuCommand(ids::kExpertCommand);
    entry(0).setText(QStringLiteral("1"));
    entry(1).clear();
    entry(2).setText(QStringLiteral("0"));
    page->onApply();
    ASSERT_EQ(prompt.texts(), std::vector<std::string>{"Please input Bus / Device / Function number."});
    EXPECT_EQ(prompt.asked().front().caption, "");
    EXPECT_EQ(entry(0).text(), QStringLiteral("01")) << "the padding is written back";
    EXPECT_EQ(header(PciHeaderValue::VendorId), QStringLiteral("0x8086")) << "device 0 still shown";
}

TEST_F(PciPage, AFunctionThatDoesNotAnswerShowsAllFfAndSaysSo) {
    page->onMenuCommand(ids::kExpertCommand);
    entry(0).setText(QStringLiteral("05"));
    entry(1).setText(QStringLiteral("1F"));
    entry(2).setText(QStringLiteral("7"));
    page->onApply();
    EXPECT_EQ(header(PciHeaderValue::VendorId), QStringLiteral("0xFFFF"));
    EXPECT_EQ(hexRow(3), QStringLiteral("FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF "));
    EXPECT_EQ(control<QLabel>(ids::kNoFunctionNote).text(),
              QStringLiteral("No function answers at 05:1F.7; every byte reads FF."));
    EXPECT_TRUE(list().selectedItems().isEmpty());
}

TEST(PciPageEmpty, WithoutDevicesTheListStaysEmptyAndTheDropDownHidden) {
    PciTestBus bus;
    PciScan scan;
    platform::ScriptedPrompt prompt;
    CSYSINFO_PCI page(scan, bus, prompt);
    page.InitDialog();
    page.show();
    page.onMenuCommand(pci_ids::kExpertCommand);
    EXPECT_FALSE(ui::findControl(page, pci_ids::kDeviceDropDown)->isVisible());
    EXPECT_EQ(page.headerText(PciHeaderValue::VendorId), QString());
    page.onMenuCommand(pci_ids::kSelectCommand); // no selected row: nothing happens
    EXPECT_EQ(page.headerText(PciHeaderValue::VendorId), QString());
}

TEST(PciPageInTheWindow, TheMainWindowBuildsThePageFromTheRunsOneEnumeration) {
    solvane::test::CoreServices parts;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices(serviceTable);
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver(parts.system, serviceTable, devices, sleeper);
    auto hardware = solvane::test::simulatedBoard({.board = 2917});
    app::SolvaneCore core(parts.on(*hardware, 1));
    ui::RecordingNotificationShell shell;
    app::CSampleDlg window(driver, core, shell);
    window.InitDialog();
    auto* page = window.findChild<CSYSINFO_PCI*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(&page->view().scan(), &core.pciScan()) << "the page and the later pages read one enumeration";
    EXPECT_EQ(core.pciScan().facts.HostBridgeChip, "Tylersburg(x58)");
    EXPECT_EQ(page->headerText(PciHeaderValue::DeviceId), QStringLiteral("0x3405"));
    window.DestroyWindow();
}

// Real input: the page on the X server, a row clicked with the pointer through xdotool.
TEST_F(PciPage, ARowClickedOnTheScreenShowsItsHeader) {
    if (std::getenv("DISPLAY") == nullptr || QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs an X server (run the suite under xvfb-run)";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdotool is not installed";
    page->move(120, 80);
    page->raise();
    page->activateWindow();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const auto waitFor = [&](const std::function<bool()>& done) {
        while (!done() && std::chrono::steady_clock::now() < deadline)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };
    ASSERT_TRUE(
        waitFor([&] { return page->windowHandle() != nullptr && page->windowHandle()->isExposed(); }));
    const QPoint target =
        list().viewport()->mapToGlobal(list().visualItemRect(list().topLevelItem(2)).center());
    const std::string command =
        "xdotool mousemove " + std::to_string(target.x()) + " " + std::to_string(target.y()) + " click 1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(waitFor([&] { return header(PciHeaderValue::VendorId) == QStringLiteral("0x14E4"); }))
        << header(PciHeaderValue::VendorId).toStdString();
    EXPECT_EQ(header(PciHeaderValue::RevisionId), QStringLiteral("0x01"));
}

} // namespace
} // namespace solvane::sysinfo::pages
