// The basic page's mode buttons on a PC whose firmware offers a profile file (a fixture sysfs tree),
// with the timers on the virtual clock: the buttons switch the file's profile and Exit gives the
// usual one back; without the file they are disabled and the page says why.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "host/HostHardware.h"
#include "host/PlatformProfileFile.h"
#include "hw/driver/IoDriver.h"
#include "platform/DeviceIo.h"
#include "platform/RegistrySeed.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "power/pages/CSLV_NOVICE.h"
#include "support/TempFolder.h"
#include "ui/RecordingNotificationShell.h"
#include "ui/WidgetInput.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using power::PowerMode;

class HostWindowRig {
public:
    explicit HostWindowRig(bool profileFile)
        : devices(serviceTable), driver(parts.system, serviceTable, devices, sleeper) {
        std::filesystem::create_directories(acpi());
        if (profileFile) {
            test::writeFile(acpi() / "platform_profile", "balanced\n");
            test::writeFile(acpi() / "platform_profile_choices", "low-power balanced performance\n");
        }
        host::HostOptions machine;
        machine.sysfsRoot = sysfs.path();
        hardware = host::createHostHardware(machine);
        parts.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4");
        core = std::make_unique<SolvaneCore>(parts.on(*hardware, 5));
        core->session().useSystemProfiles({&file});
        window = std::make_unique<CSampleDlg>(driver, *core, shell);
        window->InitDialog();
        window->show();
        window->OnCommand(ui::main_window_ids::kProduct);
    }
    ~HostWindowRig() {
        if (window)
            window->DestroyWindow();
    }

    std::filesystem::path acpi() const { return sysfs.path() / "firmware/acpi"; }
    std::string profile() const { return test::readTextFile(acpi() / "platform_profile"); }
    power::pages::CSLV_NOVICE& page() const { return *window->basicPage(); }
    std::string messageLine() const {
        return page().readoutText(power::basic_ids::kMessageLine).toStdString();
    }
    void choose(PowerMode mode) {
        auto& button = *page().modeButton(mode);
        test::click(button, button.rect().center());
        parts.clock.advance(300);
    }

    test::TempFolder sysfs;
    test::CoreServices parts;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices;
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver;
    host::PlatformProfileFile file{sysfs.path()};
    std::unique_ptr<hw::Hardware> hardware;
    ui::RecordingNotificationShell shell;
    std::unique_ptr<SolvaneCore> core;
    std::unique_ptr<CSampleDlg> window;
};

TEST(HostModeButtons, TheButtonsSwitchTheProfileAndExitGivesItBack) {
    HostWindowRig rig(true);
    const auto refusedAtStart = rig.hardware->refusedWrites();
    ASSERT_TRUE(rig.page().modeButton(PowerMode::Max)->isEnabled()) << rig.messageLine();
    EXPECT_EQ(rig.messageLine(), "This PC") << "the PC's own line, no reason, when the modes can be chosen";
    rig.choose(PowerMode::Max);
    EXPECT_EQ(rig.profile(), "low-power\n");
    EXPECT_TRUE(rig.page().modeButton(PowerMode::Max)->GetCheck());
    rig.choose(PowerMode::Default);
    EXPECT_EQ(rig.profile(), "balanced\n");
    rig.choose(PowerMode::Optimize);
    EXPECT_EQ(rig.profile(), "low-power\n");
    EXPECT_EQ(rig.parts.registry.readString(power::kProductKey, power::kEnableSolvaneValue), "1");
    rig.window->DestroyWindow();
    rig.window.reset();
    EXPECT_EQ(rig.profile(), "balanced\n") << "the exit gives the usual profile back";
    EXPECT_EQ(rig.hardware->refusedWrites(), refusedAtStart) << "the modes tried no write but the profile";
}

TEST(HostModeButtons, WithoutAProfileServiceOnlyDefaultCanBeChosenAndThePageSaysWhy) {
    HostWindowRig rig(false);
    EXPECT_TRUE(rig.page().modeButton(PowerMode::Default)->isEnabled());
    for (const auto mode : {PowerMode::Optimize, PowerMode::Max})
        EXPECT_FALSE(rig.page().modeButton(mode)->isEnabled()) << static_cast<int>(mode);
    EXPECT_TRUE(rig.messageLine().starts_with("No power profile to switch: ")) << rig.messageLine();
    rig.page().onMenuCommand(power::basic_ids::kMenuMax); // the right-click menu's entry
    rig.parts.clock.advance(300);
    EXPECT_EQ(rig.core->state().modes.ActiveMode, PowerMode::Default);
    EXPECT_FALSE(std::filesystem::exists(rig.acpi() / "platform_profile"));
}

} // namespace
} // namespace solvane::app
