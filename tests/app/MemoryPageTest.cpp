// The memory page's widgets over an SMBus of test EEPROMs, with its timer on a virtual clock, and
// in the main window on a simulated board.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/SpdBytes.h"
#include "sysinfo/pages/CSYSINFO_MEMORY.h"
#include "ui/ControlId.h"
#include "ui/RecordingNotificationShell.h"

#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace solvane::sysinfo::pages {
namespace {

namespace ids = memory_dialog;
using test::ddr3Module;
using test::spdImage;

class MemoryPageTest : public ::testing::Test {
protected:
    std::unique_ptr<CSYSINFO_MEMORY> open(SmbusLibrary library = SmbusLibrary::Loaded) {
        auto page = std::make_unique<CSYSINFO_MEMORY>(
            bus, library, [this] { return status; }, MemoryInformation::SpdImageSource{}, clock);
        page->InitDialog();
        return page;
    }
    std::string text(const CSYSINFO_MEMORY& page, int id) { return page.fieldText(id).toStdString(); }

    test::FakeSpdBus bus;
    platform::VirtualClockScheduler clock;
    platform::MemoryStatus status{41, 2048ULL * 1024 * 1024};
};

TEST_F(MemoryPageTest, TheListHoldsThePopulatedSlotsAndShowsTheFirst) {
    bus.eeproms[0xA2] = ddr3Module();
    bus.eeproms[0xA8] = spdImage({{2, 0x08}, {4, 0x0A}});
    const auto page = open();
    auto* list = page->slotList();
    ASSERT_EQ(list, ui::findControl(*page, ids::kSlotList));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0).toStdString(), "DIMM_A1");
    EXPECT_EQ(list->itemText(1).toStdString(), "DIMM_C0");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(text(*page, ids::kMemoryType), "DDR3");
    EXPECT_EQ(text(*page, ids::kManufacturer), "Kingston");
    EXPECT_EQ(text(*page, ids::kTimingFields[0][3]), "686 MHz");
    EXPECT_EQ(text(*page, ids::kTotalPhysicalMemory), "1024 MBytes");
    EXPECT_EQ(text(*page, ids::kMemoryLoad), "41 %");

    // Choosing the DDR2 module changes the type and nothing else.
    list->setCurrentIndex(1);
    EXPECT_EQ(text(*page, ids::kMemoryType), "DDR2");
    EXPECT_EQ(text(*page, ids::kManufacturer), "Kingston");
    EXPECT_EQ(text(*page, ids::kTimingFields[0][3]), "686 MHz");
}

TEST_F(MemoryPageTest, TimerZeroRefreshesTheStatusEveryTwoSeconds) {
    bus.eeproms[0xA0] = spdImage({{2, 0x08}, {4, 0x0A}});
    const auto page = open();
    EXPECT_EQ(clock.period(page.get(), ids::kStatusTimer), 2000U);
    EXPECT_EQ(text(*page, ids::kTotalPhysicalMemory), "2048 MBytes");
    status = {77, 4096ULL * 1024 * 1024 - 1};
    clock.advance(1999);
    EXPECT_EQ(text(*page, ids::kMemoryLoad), "41 %");
    clock.advance(1);
    EXPECT_EQ(text(*page, ids::kMemoryLoad), "77 %");
    EXPECT_EQ(text(*page, ids::kTotalPhysicalMemory), "4096 MBytes");
    page->DestroyWindow();
    EXPECT_FALSE(clock.isSet(page.get(), ids::kStatusTimer));
}

TEST_F(MemoryPageTest, WithoutModulesThePageKeepsItsTemplateTextsAndNoTimerRuns) {
    const auto page = open();
    EXPECT_EQ(page->slotList()->count(), 0);
    EXPECT_FALSE(clock.isSet(page.get(), ids::kStatusTimer));
    EXPECT_EQ(text(*page, ids::kTotalPhysicalMemory), "");
    EXPECT_EQ(text(*page, ids::kMemoryType), "");
}

TEST_F(MemoryPageTest, WithoutTheSmbusLibraryTheStatusShowsAlone) {
    bus.eeproms[0xA0] = ddr3Module();
    const auto page = open(SmbusLibrary::NotLoaded);
    EXPECT_EQ(page->slotList()->count(), 0);
    EXPECT_TRUE(clock.isSet(page.get(), ids::kStatusTimer));
    EXPECT_EQ(text(*page, ids::kTotalPhysicalMemory), "2048 MBytes");
    EXPECT_EQ(text(*page, ids::kMemoryType), "");
}

TEST_F(MemoryPageTest, TitlePicturesCaptionsAndGroups) {
    bus.eeproms[0xA0] = ddr3Module();
    const auto page = open();
    for (const auto& title : {ids::kSpdTitle, ids::kTimingsTitle}) {
        const auto* picture = qobject_cast<QLabel*>(ui::findControl(*page, title.controlId));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->geometry(), QRect(title.x, title.y, title.width, title.height));
    }
    QStringList captions;
    for (const auto* label : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        captions << label->text();
    for (const char* caption : {"Total Physical Memory", "Memory Load", "Module Size", "Week / Year",
                                "Manufacturer", "Part Number", "Serial Number", "Frequency", "CAS# Latency",
                                "RAS# to CAS#", "RAS# Precharge", "tRAS", "tRC", "Voltage"})
        EXPECT_TRUE(captions.contains(QString::fromLatin1(caption))) << caption;
    QStringList groups;
    for (const auto* group : page->findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, QStringList({QStringLiteral("SPD"), QStringLiteral("Timings Table")}));
    // Every field of the table exists.
    for (const auto& row : ids::kTimingFields)
        for (const int id : row)
            EXPECT_NE(ui::findControl(*page, id), nullptr) << id;
}

} // namespace
} // namespace solvane::sysinfo::pages

namespace solvane::app {
namespace {

TEST(MemoryPageInMainWindow, TheMemoryPageListsTheSimulatedModules) {
    test::CoreServices parts;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices(serviceTable);
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver(parts.system, serviceTable, devices, sleeper);
    auto hardware = test::simulatedBoard({.board = 2917, .load = 0.3, .seed = 1, .clock = {}});
    SolvaneCore core(parts.on(*hardware, 1));
    ui::RecordingNotificationShell shell;
    CSampleDlg window(driver, core, shell);
    window.InitDialog();
    const auto* page = window.findChild<sysinfo::pages::CSYSINFO_MEMORY*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->slotList()->count(), 3); // three Corsair modules of 2 GB in A0, B0 and C0
    EXPECT_EQ(page->fieldText(sysinfo::memory_dialog::kTotalPhysicalMemory).toStdString(), "6144 MBytes");
    EXPECT_EQ(page->fieldText(sysinfo::memory_dialog::kManufacturer).toStdString(), "Corsair");
    window.DestroyWindow();
}

} // namespace
} // namespace solvane::app
