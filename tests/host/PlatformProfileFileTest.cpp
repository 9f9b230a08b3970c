#include "host/PlatformProfileFile.h"

#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace solvane::host {
namespace {

class PlatformProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(acpi());
        test::writeFile(acpi() / "platform_profile", "balanced\n");
        test::writeFile(acpi() / "platform_profile_choices", "low-power  cool balanced\tperformance\n");
    }
    std::filesystem::path acpi() const { return sysfs.path() / "firmware/acpi"; }

    test::TempFolder sysfs;
    PlatformProfileFile file{sysfs.path()};
};

TEST_F(PlatformProfileFileTest, OffersTheFirmwaresChoices) {
    const auto offer = file.offer();
    EXPECT_EQ(offer.problem, "");
    EXPECT_EQ(offer.active, "balanced");
    EXPECT_EQ(offer.profiles, (std::vector<std::string>{"low-power", "cool", "balanced", "performance"}));
}

TEST_F(PlatformProfileFileTest, WritesOnlyAnOfferedProfileAndNothingElse) {
    EXPECT_EQ(file.setProfile("low-power"), "");
    EXPECT_EQ(test::readTextFile(acpi() / "platform_profile"), "low-power\n");
    EXPECT_NE(file.setProfile("quiet"), "") << "not among the choices";
    EXPECT_NE(file.setProfile("low-power\nperformance"), "");
    EXPECT_EQ(test::readTextFile(acpi() / "platform_profile"), "low-power\n");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sysfs.path()))
        files.push_back(entry.path().filename().string());
    std::ranges::sort(files);
    EXPECT_EQ(files,
              (std::vector<std::string>{"acpi", "firmware", "platform_profile", "platform_profile_choices"}));
}

TEST_F(PlatformProfileFileTest, SaysWhyItCannotBeUsed) {
    std::filesystem::remove(acpi() / "platform_profile");
    EXPECT_EQ(file.offer().problem, "no platform_profile");
    EXPECT_NE(file.setProfile("balanced"), "");
    EXPECT_FALSE(std::filesystem::exists(acpi() / "platform_profile")) << "never created";
}

} // namespace
} // namespace solvane::host
