// The basic page on an ordinary PC shows the "This PC" plan: captions, values, tool tips, the rows
// the PC has. The laptop fixture is built from a real laptop's read-outs.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "host/HostHardware.h"
#include "host/HwmonSource.h"
#include "power/pages/BasicPageLayout.h"
#include "power/pages/CSLV_NOVICE.h"
#include "ui/CLabel.h"
#include "ui/ControlId.h"
#include "ui/RecordingNotificationShell.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

namespace ids = power::basic_ids;

TEST(ThisPcPage, TheBasicPageShowsThePcsOwnReadOutsWithTheirSources) {
    test::CoreServices parts;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices(serviceTable);
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver(parts.system, serviceTable, devices, sleeper);
    const auto fixtures = std::filesystem::path(SOLVANE_TEST_DATA) / "host";
    host::HostHardware hardware({.sysfsRoot = fixtures / "real-x1-carbon-laptop",
                                 .procRoot = fixtures / "laptop-proc",
                                 .pciIdsFile = {}},
                                std::make_shared<host::HwmonSource>(fixtures / "real-x1-carbon-laptop"));
    SolvaneCore core(parts.on(hardware, 3));
    ui::RecordingNotificationShell shell;
    CSampleDlg window(driver, core, shell);
    window.InitDialog();
    auto& page = *window.basicPage();

    const auto value = [&page](int id) { return qobject_cast<ui::CLabel*>(ui::findControl(page, id)); };
    const auto caption = [&page](int id) {
        return qobject_cast<QLabel*>(ui::findControl(page, id))->text().toStdString();
    };
    EXPECT_EQ(page.readoutText(ids::kCpuTemperature).toStdString(), "29'C / 84'F");
    EXPECT_NE(value(ids::kCpuTemperature)->toolTip().toStdString().find("coretemp \"Package id 0\""),
              std::string::npos);
    EXPECT_EQ(page.readoutText(ids::kRail33).toStdString(), "4.83 W") << "the battery's draw";
    EXPECT_EQ(caption(1155), "Battery Draw") << "the 3.3 V rail's caption";
    EXPECT_EQ(page.readoutText(ids::kCpuConsumption).toStdString(), "no counter");
    EXPECT_NE(value(ids::kCpuConsumption)->toolTip().toStdString().find("no CPU power counter"),
              std::string::npos);
    EXPECT_EQ(caption(1146), "Package Power");
    EXPECT_EQ(page.readoutText(ids::kMessageLine).toStdString(), "This PC: on battery");
    EXPECT_EQ(caption(ids::kMemoryTitle), "Memory / Board") << "a heading in words, not the board's picture";
    // No core, uncore or DRAM counter, and none of the board's phase or bridge rows.
    for (const int hidden :
         {ids::kCpuSaving, ids::kCpuEfficiency, ids::kMemoryVoltage, ids::kIohPhases, ids::kRail12})
        EXPECT_FALSE(value(hidden)->isVisibleTo(&page)) << hidden;
    for (const int shown : {ids::kCpuConsumption, ids::kFanSpeed, ids::kIohTemperature, ids::kRail5})
        EXPECT_TRUE(value(shown)->isVisibleTo(&page)) << shown;
    window.DestroyWindow();
}

} // namespace
} // namespace solvane::app
