// The modes on a PC through the firmware's profile file in a fixture sysfs tree: the same code path
// as the daemon's, with a file the test can read back and change behind the program's back.
#include "power/SystemProfileModes.h"

#include "host/PlatformProfileFile.h"
#include "platform/MemoryRegistry.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

class ProfileFixture {
public:
    explicit ProfileFixture(const std::string& choices, const std::string& active = "balanced") {
        std::filesystem::create_directories(acpi());
        test::writeFile(acpi() / "platform_profile_choices", choices + "\n");
        setActive(active);
    }
    std::filesystem::path acpi() const { return sysfs.path() / "firmware/acpi"; }
    std::string active() const { return test::readTextFile(acpi() / "platform_profile"); }
    void setActive(const std::string& profile) const {
        test::writeFile(acpi() / "platform_profile", profile + "\n");
    }

    test::TempFolder sysfs;
};

class SystemProfileModesTest : public ::testing::Test {
protected:
    static constexpr const char* kChoices = "low-power quiet balanced performance";

    std::unique_ptr<SystemProfileModes> started(platform::PowerProfileService& service) {
        auto modes = std::make_unique<SystemProfileModes>(std::vector{&service}, registry);
        modes->start();
        return modes;
    }

    ProfileFixture fixture{kChoices};
    host::PlatformProfileFile file{fixture.sysfs.path()};
    platform::MemoryRegistry registry;
};

TEST_F(SystemProfileModesTest, EachModeSwitchesTheProfileAndDefaultGivesTheUsualOneBack) {
    auto modes = started(file);
    ASSERT_TRUE(modes->savingModesAvailable()) << modes->reason();
    EXPECT_EQ(modes->serviceName(), "platform_profile");
    const std::vector<std::pair<PowerMode, std::string>> steps{
        {PowerMode::Optimize, "quiet\n"},   {PowerMode::Max, "low-power\n"},
        {PowerMode::Default, "balanced\n"}, {PowerMode::Max, "low-power\n"},
        {PowerMode::Optimize, "quiet\n"},   {PowerMode::Default, "balanced\n"},
    };
    for (const auto& [mode, profile] : steps) {
        EXPECT_EQ(modes->apply(mode), "");
        EXPECT_EQ(fixture.active(), profile) << static_cast<int>(mode);
        EXPECT_EQ(modes->mode(), mode);
        EXPECT_EQ(ProfileRestoreNote::read(registry).has_value(), mode != PowerMode::Default);
    }
}

TEST_F(SystemProfileModesTest, TheNoteIsWrittenBeforeTheProfileChanges) {
    auto modes = started(file);
    ASSERT_EQ(modes->apply(PowerMode::Optimize), "");
    ASSERT_EQ(modes->apply(PowerMode::Max), "");
    const auto note = ProfileRestoreNote::read(registry);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->service, "platform_profile");
    EXPECT_EQ(note->before, "balanced");
    EXPECT_EQ(note->set, (std::vector<std::string>{"quiet", "low-power"}));
    EXPECT_EQ(registry.readString(kProfileNoteKey, kProfileNoteSetValue), "quiet;low-power;");
}

TEST_F(SystemProfileModesTest, ExitGivesTheUsualProfileBack) {
    auto modes = started(file);
    ASSERT_EQ(modes->apply(PowerMode::Max), "");
    EXPECT_EQ(modes->restore(), "");
    EXPECT_EQ(fixture.active(), "balanced\n");
    EXPECT_FALSE(ProfileRestoreNote::read(registry));
}

TEST_F(SystemProfileModesTest, TheNextStartAfterACrashGivesTheProfileBack) {
    {
        auto crashed = started(file);
        ASSERT_EQ(crashed->apply(PowerMode::Max), "");
    } // no restore: the process was killed
    EXPECT_EQ(fixture.active(), "low-power\n");
    auto next = started(file);
    EXPECT_EQ(fixture.active(), "balanced\n");
    EXPECT_FALSE(ProfileRestoreNote::read(registry));
    EXPECT_EQ(next->plan().usual, "balanced") << "the modes are planned around the given-back profile";
    EXPECT_EQ(next->plan().max, "low-power");
}

TEST_F(SystemProfileModesTest, AProfileTheUserChoseMeanwhileStays) {
    for (const bool crash : {false, true}) {
        auto modes = started(file);
        ASSERT_EQ(modes->apply(PowerMode::Optimize), "");
        fixture.setActive("performance"); // the desktop's own profile switch
        if (crash)
            modes = started(file);
        else
            EXPECT_EQ(modes->restore(), "");
        EXPECT_EQ(fixture.active(), "performance\n") << crash;
        EXPECT_FALSE(ProfileRestoreNote::read(registry)) << crash;
        fixture.setActive("balanced");
    }
}

TEST_F(SystemProfileModesTest, ANewUsualProfileIsTakenWhenSolvaneHadNothingToGiveBack) {
    auto modes = started(file);
    fixture.setActive("performance");
    ASSERT_EQ(modes->apply(PowerMode::Optimize), "");
    EXPECT_EQ(fixture.active(), "balanced\n") << "one step from performance";
    ASSERT_EQ(modes->apply(PowerMode::Default), "");
    EXPECT_EQ(fixture.active(), "performance\n");
}

TEST_F(SystemProfileModesTest, ARefusedSwitchKeepsTheModeInForce) {
    // A profile file that can no longer be used (a directory in its place refuses even root).
    const auto breakFile = [this] {
        std::filesystem::remove(fixture.acpi() / "platform_profile");
        std::filesystem::create_directory(fixture.acpi() / "platform_profile");
    };
    {
        auto modes = started(file);
        breakFile();
        EXPECT_NE(modes->apply(PowerMode::Max), "");
        EXPECT_EQ(modes->mode(), PowerMode::Default);
        EXPECT_FALSE(ProfileRestoreNote::read(registry)) << "nothing was changed, nothing to give back";
    }
    std::filesystem::remove(fixture.acpi() / "platform_profile");
    fixture.setActive("balanced");
    auto modes = started(file);
    ASSERT_EQ(modes->apply(PowerMode::Optimize), "");
    breakFile();
    EXPECT_NE(modes->apply(PowerMode::Max), "");
    EXPECT_EQ(modes->mode(), PowerMode::Optimize);
    const auto note = ProfileRestoreNote::read(registry);
    ASSERT_TRUE(note) << "Optimize's profile is still to be given back";
    EXPECT_EQ(note->before, "balanced");
}

struct UnavailableCase {
    const char* what;
    std::function<void(const ProfileFixture&)> prepare;
    std::string reason;
};

TEST(SystemProfileModesUnavailable, TheButtonsAreDisabledWithOneLineSayingWhy) {
    const std::vector<UnavailableCase> cases{
        {"no profile file",
         [](const ProfileFixture& f) { std::filesystem::remove(f.acpi() / "platform_profile"); },
         "No power profile to switch: no platform_profile"},
        {"no choices",
         [](const ProfileFixture& f) { std::filesystem::remove(f.acpi() / "platform_profile_choices"); },
         "platform_profile_choices lists no profile"},
        {"already the most saving", [](const ProfileFixture& f) { f.setActive("low-power"); },
         "The power profile in force, \"low-power\", already saves the most"},
    };
    for (const auto& c : cases) {
        ProfileFixture fixture("low-power balanced performance");
        c.prepare(fixture);
        host::PlatformProfileFile file(fixture.sysfs.path());
        platform::MemoryRegistry registry;
        SystemProfileModes modes({&file}, registry);
        modes.start();
        EXPECT_FALSE(modes.savingModesAvailable()) << c.what;
        EXPECT_NE(modes.reason().find(c.reason), std::string::npos) << c.what << ": " << modes.reason();
        EXPECT_EQ(modes.reason().find('\n'), std::string::npos) << c.what;
        EXPECT_EQ(modes.apply(PowerMode::Max), modes.reason()) << c.what;
        EXPECT_EQ(modes.apply(PowerMode::Default), "") << "Default is always there: " << c.what;
        EXPECT_FALSE(ProfileRestoreNote::read(registry)) << c.what;
    }
}

TEST(SystemProfileModesChoice, TheFirstUsableServiceIsTaken) {
    ProfileFixture missing("low-power balanced");
    std::filesystem::remove(missing.acpi() / "platform_profile");
    ProfileFixture usable("low-power balanced");
    host::PlatformProfileFile first(missing.sysfs.path());
    host::PlatformProfileFile second(usable.sysfs.path());
    platform::MemoryRegistry registry;
    SystemProfileModes modes({&first, &second}, registry);
    modes.start();
    ASSERT_TRUE(modes.savingModesAvailable()) << modes.reason();
    EXPECT_EQ(modes.apply(PowerMode::Max), "");
    EXPECT_EQ(usable.active(), "low-power\n");
}

TEST(SystemProfileModesChoice, ANoteOfAnotherServiceWaitsForIt) {
    ProfileFixture fixture("low-power balanced");
    host::PlatformProfileFile file(fixture.sysfs.path());
    platform::MemoryRegistry registry;
    ASSERT_TRUE(
        (ProfileRestoreNote{"power-profiles-daemon", "performance", {"power-saver"}}.write(registry)));
    SystemProfileModes modes({&file}, registry);
    modes.start();
    EXPECT_FALSE(modes.savingModesAvailable());
    EXPECT_NE(modes.reason().find("power-profiles-daemon"), std::string::npos) << modes.reason();
    EXPECT_EQ(fixture.active(), "balanced\n") << "the file is not the daemon";
    EXPECT_TRUE(ProfileRestoreNote::read(registry)) << "kept until the daemon is back";
}

TEST(ProfileRestoreNote, AWriteCutShortLeavesNoNote) {
    platform::MemoryRegistry registry;
    // The service is written last: without it the rest is no note.
    registry.writeString(kProfileNoteKey, kProfileNoteSetValue, "power-saver;");
    registry.writeString(kProfileNoteKey, kProfileNoteBeforeValue, "balanced");
    EXPECT_FALSE(ProfileRestoreNote::read(registry));
    registry.writeString(kProfileNoteKey, kProfileNoteServiceValue, "power-profiles-daemon");
    const auto note = ProfileRestoreNote::read(registry);
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->solvaneSet("power-saver"));
    EXPECT_FALSE(note->solvaneSet("balanced"));
    EXPECT_TRUE(ProfileRestoreNote::clear(registry));
    EXPECT_FALSE(registry.keyExists(kProfileNoteKey));
}

} // namespace
} // namespace solvane::power
