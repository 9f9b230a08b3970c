// The motherboard information page and the two caption pages through their real widgets.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "support/TempFolder.h"
#include "sysinfo/pages/CSYSINFO_BIOS.h"
#include "sysinfo/pages/CSYSINFO_CPU.h"
#include "sysinfo/pages/CSYSINFO_MB.h"
#include "sysinfo/pages/CaptionPageIds.h"
#include "sysinfo/pages/MotherboardPageIds.h"
#include "ui/CLabel.h"
#include "ui/ControlId.h"
#include "ui/RecordingNotificationShell.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace solvane::sysinfo::pages {
namespace {

namespace ids = motherboard_ids;

MotherboardInfo sampleInfo() {
    MotherboardInfo info;
    for (std::size_t index = 0; index < kMotherboardValueCount; ++index)
        info.values[index] = "value " + std::to_string(index);
    info.value(MotherboardValue::Family).reset();
    info.bridges = {{"NB", "NVidia", "MCP72P"}, {"SB", "NVidia", "MCP72P"}};
    info.superIo = {"Fintek", "F71889F"};
    return info;
}

QString textOf(const QWidget& page, int id) {
    const auto* label = qobject_cast<const QLabel*>(ui::findControl(page, id));
    return label != nullptr ? label->text() : QStringLiteral("<no control %1>").arg(id);
}

TEST(MotherboardPage, ShowsEachValueInItsControl) {
    platform::VirtualClockScheduler clock;
    int gathered = 0;
    CSYSINFO_MB page(
        [&gathered] {
            ++gathered;
            return sampleInfo();
        },
        [] { return std::string("1.250 V"); }, clock);
    EXPECT_EQ(gathered, 0) << "the values are gathered by the page's initialisation";
    page.InitDialog();
    EXPECT_EQ(gathered, 1);
    for (const auto& label : ids::kValueLabels) {
        const auto index = static_cast<std::size_t>(label.value);
        const auto expected =
            label.value == MotherboardValue::Family ? QString() : QStringLiteral("value %1").arg(index);
        EXPECT_EQ(textOf(page, label.controlId), expected) << kMotherboardValueCaptions[index];
    }
    EXPECT_EQ(textOf(page, ids::kNorthBridgeCaption), QStringLiteral("NB"));
    EXPECT_EQ(textOf(page, ids::kSouthBridgeCaption), QStringLiteral("SB"));
    EXPECT_EQ(textOf(page, ids::kNorthBridgeVendor), QStringLiteral("NVidia"));
    EXPECT_EQ(textOf(page, ids::kNorthBridgeChip), QStringLiteral("MCP72P"));
    EXPECT_EQ(textOf(page, ids::kSouthBridgeChip), QStringLiteral("MCP72P"));
    EXPECT_EQ(textOf(page, ids::kSuperIoVendor), QStringLiteral("Fintek"));
    EXPECT_EQ(textOf(page, ids::kSuperIoChip), QStringLiteral("F71889F"));
    EXPECT_FALSE(ui::findControl(page, ids::kHiddenValue)->isVisibleTo(&page));
    for (const int id : {ids::kMotherboardGroup, ids::kBiosGroup, ids::kProcessorGroup, ids::kVgaGroup,
                         ids::kMotherboardTitle, ids::kProcessorTitle, ids::kBiosTitle, ids::kVgaTitle})
        EXPECT_NE(ui::findControl(page, id), nullptr) << id;
}

TEST(MotherboardPage, TimerZeroRefreshesTheCoreVoltageEveryTwoSeconds) {
    platform::VirtualClockScheduler clock;
    std::string voltage = "1.250 V";
    auto page = std::make_unique<CSYSINFO_MB>(
        sampleInfo, [&voltage] { return voltage; }, clock);
    page->InitDialog();
    const int coreVoltage = 1168;
    EXPECT_EQ(textOf(*page, coreVoltage), QStringLiteral("value 7"))
        << "the gathered text until the first tick";
    EXPECT_EQ(clock.period(page.get(), 0), 2000U);
    voltage = "1.300 V";
    clock.advance(1999);
    EXPECT_EQ(textOf(*page, coreVoltage), QStringLiteral("value 7"));
    clock.advance(1);
    EXPECT_EQ(textOf(*page, coreVoltage), QStringLiteral("1.300 V"));
    voltage = "1.150 V";
    clock.advance(2000);
    EXPECT_EQ(textOf(*page, coreVoltage), QStringLiteral("1.150 V"));
    const void* owner = page.get();
    page.reset();
    EXPECT_FALSE(clock.isSet(owner, 0)) << "the timer ends with the page";
}

TEST(CaptionPages, ShowOnlyTheirCaption) {
    CSYSINFO_BIOS bios;
    bios.InitDialog();
    EXPECT_EQ(bios.pageId(), caption_ids::kBiosDialog);
    EXPECT_EQ(textOf(bios, caption_ids::kCaption), QStringLiteral("BIOS Information"));
    CSYSINFO_CPU cpu;
    cpu.InitDialog();
    EXPECT_EQ(cpu.pageId(), caption_ids::kCpuDialog);
    EXPECT_EQ(textOf(cpu, caption_ids::kCaption), QStringLiteral("CPU Information"));
    EXPECT_EQ(cpu.findChildren<QWidget*>().size(), 1);
}

TEST(MotherboardPageInTheWindow, TheWindowGathersAfterThePciScanAndProbesThroughItsDriver) {
    solvane::test::CoreServices parts;
    solvane::test::TempFolder folder;
    parts.system.folder = folder.path();
    solvane::test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
    solvane::test::writeFile(folder / "Zubrik.sys", "descriptor");
    auto hardware = solvane::test::simulatedBoard({.board = 2916}); // ATI graphics: the library knows no BIOS
    hw::ZubrikDriver kernelSide(hardware->machine());
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices(serviceTable);
    devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, kernelSide);
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver(parts.system, serviceTable, devices, sleeper);
    ASSERT_EQ(driver.Load(), hw::IoDriver::kLoaded);
    driver.SetHandleCopy(driver.GetHandle());
    app::SolvaneCore core(parts.on(*hardware, 1));
    ui::RecordingNotificationShell shell;
    app::CSampleDlg window(driver, core, shell);
    window.InitDialog();
    auto* page = window.findChild<CSYSINFO_MB*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(textOf(*page, 1164), QStringLiteral("011.011.000.000.031941"));
    EXPECT_EQ(textOf(*page, ids::kNorthBridgeChip), QStringLiteral("Tylersburg(x58)"));
    EXPECT_EQ(textOf(*page, 1139), QStringLiteral("Elm-E3 "));
    EXPECT_EQ(textOf(*page, ids::kSuperIoChip), QStringLiteral("F71882FG"));
    EXPECT_EQ(window.findChild<CSYSINFO_BIOS*>(), nullptr) << "the window never adds the caption pages";
    EXPECT_EQ(window.findChild<CSYSINFO_CPU*>(), nullptr);
    window.DestroyWindow();
}

} // namespace
} // namespace solvane::sysinfo::pages
