#include "hw/VideoControllerQuery.h"

#include "HostFixture.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

using Property = hw::VideoControllerQuery::Property;

TEST(VideoControllerQuery, TheHostAnswersWithItsDrmAdapter) {
    auto host = test::hostOnFixture("desktop");
    const hw::BackendVideoControllers query(*host);
    EXPECT_EQ(query.values(Property::Name),
              std::vector<std::string>{"NVIDIA Corporation G94 [GeForce 9600 GT]"});
    EXPECT_EQ(query.values(Property::DriverVersion), std::vector<std::string>{"nouveau 1.3.1"});
}

TEST(VideoControllerQuery, NoAdapterIsNoInstance) {
    auto host = createHostHardware({.sysfsRoot = test::fixtureFolder() / "no-such-tree", .pciIdsFile = {}});
    const hw::BackendVideoControllers query(*host);
    EXPECT_TRUE(query.values(Property::Name).empty());
    EXPECT_TRUE(query.values(Property::DriverVersion).empty());
    EXPECT_EQ(hw::firstValue(query, Property::Name), "");
}

} // namespace
} // namespace solvane::host
