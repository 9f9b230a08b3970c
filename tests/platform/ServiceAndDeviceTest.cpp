#include "platform/DeviceIo.h"
#include "platform/ServiceManager.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::platform {
namespace {

class EchoDriver final : public DeviceDriver {
public:
    WinError control(std::uint32_t code, std::span<const std::uint8_t>, std::span<std::uint8_t> output,
                     std::uint32_t& returned, unsigned openHandles) override {
        lastCode = code;
        lastOpenHandles = openHandles;
        returned = static_cast<std::uint32_t>(output.size());
        return WinError::Success;
    }
    std::uint32_t lastCode = 0;
    unsigned lastOpenHandles = 0;
};

ServiceConfig driverConfig(const std::filesystem::path& image) {
    ServiceConfig config;
    config.displayName = "Zubrik_1_0_5";
    config.imagePath = image.string();
    return config;
}

TEST(ServiceTable, ServicesAndTheirStateOutliveTheProgram) {
    test::TempFolder folder;
    const auto image = folder / "Zubrik.sys";
    test::writeFile(image, "driver");
    {
        ServiceTable table(folder / "services.tsv");
        ASSERT_EQ(table.createService("Zubrik_1_0_5", driverConfig(image)), WinError::Success);
        EXPECT_EQ(table.createService("zubrik_1_0_5", driverConfig(image)), WinError::ServiceExists);
        ASSERT_EQ(table.startService("Zubrik_1_0_5"), WinError::Success);
        EXPECT_EQ(table.startService("Zubrik_1_0_5"), WinError::ServiceAlreadyRunning);
    }
    ServiceTable next(folder / "services.tsv");
    EXPECT_EQ(next.queryState("ZUBRIK_1_0_5"), ServiceState::Running);
    EXPECT_EQ(next.queryConfig("Zubrik_1_0_5")->imagePath, image.string());
    EXPECT_EQ(next.queryConfig("Zubrik_1_0_5")->startType, StartType::Demand);
    EXPECT_EQ(next.stopService("Zubrik_1_0_5"), WinError::Success);
    EXPECT_EQ(next.stopService("Zubrik_1_0_5"), WinError::ServiceNotActive);
    EXPECT_EQ(next.deleteService("Zubrik_1_0_5"), WinError::Success);
    EXPECT_EQ(ServiceTable(folder / "services.tsv").exists("Zubrik_1_0_5"), false);
}

TEST(ServiceTable, EveryStartTypeAndStateSurvivesASaveAndReload) {
    test::TempFolder folder;
    const auto image = folder / "Zubrik.sys";
    test::writeFile(image, "driver");
    const std::vector<StartType> types{StartType::Boot, StartType::System, StartType::Automatic,
                                       StartType::Demand, StartType::Disabled};
    {
        ServiceTable table(folder / "services.tsv");
        for (const auto type : types) {
            auto config = driverConfig(image);
            config.startType = type;
            config.errorControl = 3;
            const auto name = "Driver" + std::to_string(static_cast<int>(type));
            ASSERT_EQ(table.createService(name, config), WinError::Success);
            if (type == StartType::Automatic) {
                ASSERT_EQ(table.startService(name), WinError::Success);
            }
        }
        table.setStartType("Driver3", StartType::Boot);
    }
    ServiceTable reloaded(folder / "services.tsv");
    for (const auto type : types) {
        const auto name = "Driver" + std::to_string(static_cast<int>(type));
        const auto config = reloaded.queryConfig(name);
        ASSERT_TRUE(config) << name;
        EXPECT_EQ(config->startType, type == StartType::Demand ? StartType::Boot : type) << name;
        EXPECT_EQ(config->type, ServiceType::KernelDriver) << name;
        EXPECT_EQ(config->errorControl, 3U) << name;
        EXPECT_EQ(config->displayName, "Zubrik_1_0_5") << name;
        EXPECT_EQ(reloaded.queryState(name),
                  type == StartType::Automatic ? ServiceState::Running : ServiceState::Stopped)
            << name;
    }
}

TEST(ServiceTable, ADriverWithoutItsFileDoesNotStart) {
    test::TempFolder folder;
    ServiceTable table;
    ASSERT_EQ(table.createService("Zubrik_1_0_5", driverConfig(folder / "gone.sys")), WinError::Success);
    EXPECT_EQ(table.startService("Zubrik_1_0_5"), WinError::FileNotFound);
    EXPECT_EQ(table.queryState("Zubrik_1_0_5"), ServiceState::Stopped);
    EXPECT_EQ(table.startService("Other"), WinError::ServiceDoesNotExist);
}

TEST(ServiceTable, DamagedLinesCostOnlyThemselves) {
    test::TempFolder folder;
    test::writeFile(folder / "services.tsv",
                    "# header\nbroken line\nGood\t1\t2\t1\t1\tGood\t/x.sys\nBad\t1\t9\t1\t1\tBad\t/y\n"
                    "Last\t1\t4\t1\t4\tLast\t/z.sys\nPast\t1\t5\t1\t1\tPast\t/w.sys\n");
    ServiceTable table(folder / "services.tsv");
    EXPECT_TRUE(table.exists("Good"));
    EXPECT_EQ(table.queryConfig("Good")->startType, StartType::Automatic);
    EXPECT_FALSE(table.exists("Bad"));
    EXPECT_EQ(table.queryConfig("Last")->startType, StartType::Disabled) << "the last start type";
    EXPECT_EQ(table.queryState("Last"), ServiceState::Running);
    EXPECT_EQ(table.queryState("Good"), ServiceState::Stopped);
    EXPECT_FALSE(table.exists("Past")) << "no start type 5";
}

TEST(DeviceNamespace, ADeviceOpensOnlyWhileItsServiceRunsAndWithoutSharing) {
    test::TempFolder folder;
    const auto image = folder / "Zubrik.sys";
    test::writeFile(image, "driver");
    ServiceTable services;
    DeviceNamespace devices(services);
    EchoDriver driver;
    devices.attach("\\\\.\\Zubrik_1_0_5", "Zubrik_1_0_5", driver);

    EXPECT_EQ(devices.createFile("\\\\.\\Zubrik_1_0_5"), kInvalidDeviceHandle);
    EXPECT_EQ(devices.lastError(), WinError::FileNotFound);
    services.createService("Zubrik_1_0_5", driverConfig(image));
    services.startService("Zubrik_1_0_5");

    const auto handle = devices.createFile("\\\\.\\zubrik_1_0_5");
    ASSERT_NE(handle, kInvalidDeviceHandle);
    EXPECT_EQ(devices.createFile("\\\\.\\Zubrik_1_0_5"), kInvalidDeviceHandle);
    EXPECT_EQ(devices.lastError(), WinError::SharingViolation);

    std::array<std::uint8_t, 4> output{};
    std::uint32_t returned = 0;
    EXPECT_TRUE(devices.deviceIoControl(handle, 0xC3502004, {}, output, returned));
    EXPECT_EQ(driver.lastOpenHandles, 1U);
    EXPECT_EQ(returned, 4U);

    services.stopService("Zubrik_1_0_5");
    EXPECT_FALSE(devices.deviceIoControl(handle, 0xC3502004, {}, output, returned));
    EXPECT_EQ(devices.requestCount(), 1);
    EXPECT_TRUE(devices.closeHandle(handle));
    EXPECT_FALSE(devices.closeHandle(handle));
    EXPECT_FALSE(devices.deviceIoControl(handle, 0xC3502004, {}, output, returned));
    EXPECT_EQ(devices.lastError(), WinError::InvalidHandle);
}

} // namespace
} // namespace solvane::platform
