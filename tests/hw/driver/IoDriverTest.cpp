#include "hw/driver/IoDriver.h"

#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "sim/SimulatedMachine.h"
#include "sim/boards/SkeletonBoard.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::hw {
namespace {

using platform::ProcessorArchitecture;
using platform::ServiceState;
using platform::StartType;

// A service manager that can refuse to be opened, as one does without administrator rights.
class RefusingServiceTable final : public platform::ServiceTable {
public:
    bool connect() override { return !refuse; }
    bool refuse = false;
};

// One machine with its program folder, its service manager and the I/O driver device.
class IoDriverTest : public ::testing::Test {
protected:
    IoDriverTest() : devices(services), kernelSide(machine) {
        sim::addBaseDevices(machine);
        system.folder = folder.path();
        system.architecture = ProcessorArchitecture::Amd64;
        test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
        test::writeFile(folder / "Zubrik.sys", "descriptor");
        devices.attach(zubrik::kDevicePath, zubrik::kServiceName, kernelSide);
    }

    IoDriver makeDriver() { return IoDriver(system, services, devices, sleeper); }

    // Loads a driver and keeps its handle for the requests, as start-up does.
    IoDriver loadedDriver() {
        auto driver = makeDriver();
        EXPECT_EQ(driver.Load(), IoDriver::kLoaded);
        driver.SetHandleCopy(driver.GetHandle());
        return driver;
    }

    test::TempFolder folder;
    platform::FakeSystemFacts system;
    RefusingServiceTable services;
    platform::DeviceNamespace devices;
    sim::SimulatedMachine machine;
    ZubrikDriver kernelSide;
    platform::RecordingSleeper sleeper;
};

TEST_F(IoDriverTest, ChoosesTheDriverFileByArchitecture) {
    struct Case {
        std::optional<ProcessorArchitecture> architecture;
        std::string_view file;
    };
    for (const auto& [architecture, file] :
         {Case{ProcessorArchitecture::Amd64, "Zubrik_X64.sys"},
          Case{ProcessorArchitecture::Intel, "Zubrik.sys"}, Case{ProcessorArchitecture::Ia64, "Zubrik.sys"},
          Case{std::nullopt, "Zubrik.sys"}}) {
        system.architecture = architecture;
        auto driver = makeDriver();
        ASSERT_EQ(driver.Load(), IoDriver::kLoaded);
        EXPECT_EQ(driver.driverFileName(), file);
        EXPECT_EQ(driver.driverPath(), (folder / std::string(file)).string());
        devices.closeHandle(driver.GetHandle());
    }
}

TEST_F(IoDriverTest, AnInstalledProgramTakesTheDriverFileFromItsDataFolder) {
    system.folder = folder / "bin"; // holds the program alone
    system.data = folder.path();
    auto driver = makeDriver();
    ASSERT_EQ(driver.Load(), IoDriver::kLoaded);
    EXPECT_EQ(driver.driverPath(), (folder / "Zubrik_X64.sys").string());
}

TEST_F(IoDriverTest, FirstLoadInstallsAndStartsTheServiceOnDemand) {
    auto driver = makeDriver();
    ASSERT_EQ(driver.Load(), IoDriver::kLoaded);
    EXPECT_NE(driver.GetHandle(), platform::kInvalidDeviceHandle);
    EXPECT_TRUE(sleeper.sleeps().empty());
    const auto config = services.queryConfig(zubrik::kServiceName);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->type, platform::ServiceType::KernelDriver);
    EXPECT_EQ(config->startType, StartType::Demand);
    EXPECT_EQ(config->errorControl, 1U);
    EXPECT_EQ(config->displayName, "Zubrik_1_0_5");
    EXPECT_EQ(config->imagePath, (folder / "Zubrik_X64.sys").string());
    EXPECT_EQ(services.queryState(zubrik::kServiceName), ServiceState::Running);
}

TEST_F(IoDriverTest, ALaterRunReusesTheRunningServiceWithoutReinstalling) {
    {
        auto first = makeDriver();
        ASSERT_EQ(first.Load(), IoDriver::kLoaded);
        // The process ends: the system closes the handle, the service keeps running.
        devices.closeHandle(first.GetHandle());
    }
    const auto before = services.counts();
    auto second = makeDriver();
    ASSERT_EQ(second.Load(), IoDriver::kLoaded);
    EXPECT_EQ(services.counts().created, before.created);
    EXPECT_EQ(services.counts().deleted, before.deleted);
    EXPECT_EQ(services.counts().started, before.started);
}

TEST_F(IoDriverTest, MissingDriverFileFailsAfterFourAttemptsWithTheirSleeps) {
    std::filesystem::remove(folder / "Zubrik_X64.sys");
    auto driver = makeDriver();
    EXPECT_EQ(driver.Load(), IoDriver::kLoadFailed);
    EXPECT_EQ(sleeper.sleeps(), (std::vector<unsigned>{0, 100, 200, 300}));
    EXPECT_FALSE(services.exists(zubrik::kServiceName));
    EXPECT_EQ(driver.GetHandle(), platform::kInvalidDeviceHandle);
}

TEST_F(IoDriverTest, ANetworkProgramFolderIsRefusedWithoutTouchingServices) {
    system.network = true;
    auto driver = makeDriver();
    EXPECT_EQ(driver.Load(), IoDriver::kLoadFailed);
    EXPECT_EQ(sleeper.sleeps().size(), 4U);
    EXPECT_EQ(services.counts().created, 0);
}

TEST_F(IoDriverTest, APlatformOtherThanNtFailsBeforeAnyAttempt) {
    system.platform = platform::PlatformId::Win32Windows;
    auto driver = makeDriver();
    EXPECT_EQ(driver.Load(), IoDriver::kLoadFailed);
    EXPECT_TRUE(sleeper.sleeps().empty());
}

TEST_F(IoDriverTest, AServiceThatCannotBeInstalledFailsEveryAttempt) {
    services.refuse = true;
    auto driver = makeDriver();
    EXPECT_EQ(driver.Load(), IoDriver::kLoadFailed);
    EXPECT_EQ(sleeper.sleeps().size(), 4U);
}

TEST_F(IoDriverTest, AStoppedServiceIsRemovedReinstalledAndStarted) {
    {
        auto first = makeDriver();
        ASSERT_EQ(first.Load(), IoDriver::kLoaded);
        devices.closeHandle(first.GetHandle());
    }
    services.stopService(zubrik::kServiceName);
    auto driver = makeDriver();
    ASSERT_EQ(driver.Load(), IoDriver::kLoaded);
    EXPECT_EQ(services.counts().deleted, 1);
    EXPECT_EQ(services.counts().created, 2);
}

TEST_F(IoDriverTest, AnAutomaticStartServiceIsNeverStoppedOrDeleted) {
    platform::ServiceConfig config;
    config.startType = StartType::Automatic;
    config.displayName = "Zubrik_1_0_5";
    config.imagePath = (folder / "Zubrik_X64.sys").string();
    services.createService(zubrik::kServiceName, config);

    auto driver = makeDriver();
    EXPECT_FALSE(driver.ControlService("Zubrik_1_0_5", config.imagePath, IoDriver::ServiceRequest::Remove));
    EXPECT_TRUE(services.exists(zubrik::kServiceName));

    // Loading still works: the existing service counts as installed and is started.
    ASSERT_EQ(driver.Load(), IoDriver::kLoaded);
    EXPECT_EQ(services.counts().deleted, 0);
    EXPECT_EQ(services.counts().stopped, 0);
    EXPECT_EQ(services.queryConfig(zubrik::kServiceName)->startType, StartType::Automatic);
}

TEST_F(IoDriverTest, ServiceRequestsWithoutNameOrPathFailUntouched) {
    auto driver = makeDriver();
    services.refuse = true; // any use of the manager would fail differently; none must happen
    EXPECT_FALSE(driver.ControlService("", "/x.sys", IoDriver::ServiceRequest::Install));
    EXPECT_FALSE(driver.ControlService("Zubrik_1_0_5", "", IoDriver::ServiceRequest::Remove));
    services.refuse = false;
    EXPECT_TRUE(driver.ControlService("Missing", "/x.sys", IoDriver::ServiceRequest::Remove))
        << "a service that cannot be opened counts as removed";
}

TEST_F(IoDriverTest, MisalignedPciReadsAreRefusedWithoutARequest) {
    auto driver = loadedDriver();
    std::array<std::uint8_t, 4> buffer{};
    const auto host = zubrik::pciAddress(0, 0, 0);
    const int before = devices.requestCount();
    EXPECT_FALSE(driver.ReadPciConfig(host, 1, buffer.data(), 2));
    EXPECT_FALSE(driver.ReadPciConfig(host, 2, buffer.data(), 4));
    EXPECT_FALSE(driver.ReadPciConfig(host, 6, buffer.data(), 4));
    EXPECT_FALSE(driver.ReadPciConfig(host, 0, nullptr, 4));
    EXPECT_EQ(devices.requestCount(), before);

    // A 1-byte read at any offset, and other sizes, go out unchecked.
    EXPECT_TRUE(driver.ReadPciConfig(host, 3, buffer.data(), 1));
    EXPECT_TRUE(driver.ReadPciConfig(host, 1, buffer.data(), 3));
    std::uint32_t error = 99;
    ASSERT_TRUE(driver.ReadPciConfig(host, 0, buffer.data(), 4, &error));
    EXPECT_EQ(error, 0U);
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 4>{0x86, 0x80, 0x20, 0x2E}));
    EXPECT_EQ(devices.requestCount(), before + 3);
}

TEST_F(IoDriverTest, RequestsNeedAnOpenDevice) {
    auto driver = makeDriver();
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_FALSE(driver.ReadPciConfig(0, 0, buffer.data(), 4));
    EXPECT_EQ(driver.ReadPhysicalMemory(0xC0000, buffer.data(), 256, 1), 0U);
    EXPECT_EQ(devices.requestCount(), 0);
}

TEST_F(IoDriverTest, AbsentPciFunctionsReadAllOnes) {
    auto driver = loadedDriver();
    std::uint32_t value = 0;
    ASSERT_TRUE(
        driver.ReadPciConfig(zubrik::pciAddress(7, 3, 1), 8, reinterpret_cast<std::uint8_t*>(&value), 4));
    EXPECT_EQ(value, 0xFFFFFFFFU);
}

TEST_F(IoDriverTest, MemoryReadReturnsExactlyTheRequestedBytes) {
    auto driver = loadedDriver();
    std::array<std::uint8_t, 256> buffer{};
    ASSERT_EQ(driver.ReadPhysicalMemory(0xC0000, buffer.data(), 256, 1), 256U);
    EXPECT_EQ(buffer[0], 0x55);
    EXPECT_EQ(buffer[1], 0xAA);
    EXPECT_EQ(driver.ReadPhysicalMemory(0xC0000, buffer.data(), 64, 4), 256U);
    EXPECT_EQ(driver.ReadPhysicalMemory(0xC0000, nullptr, 256, 1), 0U);
    // Memory nobody mapped cannot be read.
    EXPECT_EQ(driver.ReadPhysicalMemory(0x100000, buffer.data(), 256, 1), 0U);
    // A read that would run off the end of the BIOS window fails as a whole.
    EXPECT_EQ(driver.ReadPhysicalMemory(0xCFF80, buffer.data(), 256, 1), 0U);
}

// A driver answering fewer bytes than asked: the read counts as failed.
class ShortDriver final : public platform::DeviceDriver {
public:
    platform::WinError control(std::uint32_t, std::span<const std::uint8_t>, std::span<std::uint8_t> output,
                               std::uint32_t& returned, unsigned) override {
        returned = static_cast<std::uint32_t>(output.size()) - 1;
        return platform::WinError::Success;
    }
};

TEST_F(IoDriverTest, AShortMemoryReadCountsAsFailure) {
    ShortDriver shortDriver;
    devices.attach(zubrik::kDevicePath, zubrik::kServiceName, shortDriver);
    auto driver = loadedDriver();
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(driver.ReadPhysicalMemory(0xC0000, buffer.data(), 256, 1), 0U);
}

// The device as another program sharing it would see it: the open-count request reports a given
// count, or fails; every other request goes to the device.
class SharedDevice final : public platform::DeviceIo {
public:
    explicit SharedDevice(platform::DeviceIo& device) : m_device(device) {}
    platform::DeviceHandle createFile(std::string_view path) override { return m_device.createFile(path); }
    bool deviceIoControl(platform::DeviceHandle handle, std::uint32_t code,
                         std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                         std::uint32_t& returned) override {
        if (code != zubrik::kOpenCountRequest || !openCount)
            return m_device.deviceIoControl(handle, code, input, output, returned);
        if (*openCount < 0)
            return false;
        std::fill(output.begin(), output.end(), 0);
        output[0] = static_cast<std::uint8_t>(*openCount);
        returned = static_cast<std::uint32_t>(output.size());
        return true;
    }
    bool closeHandle(platform::DeviceHandle handle) override { return m_device.closeHandle(handle); }
    platform::WinError lastError() const override { return m_device.lastError(); }

    std::optional<int> openCount; // -1: the request fails
private:
    platform::DeviceIo& m_device;
};

TEST_F(IoDriverTest, UnloadKeepsTheServiceWhileOthersHoldTheDeviceOrTheCountIsUnknown) {
    for (const int count : {2, 3, 0, -1}) {
        SharedDevice shared(devices);
        IoDriver driver(system, services, shared, sleeper);
        ASSERT_EQ(driver.Load(), IoDriver::kLoaded) << count;
        driver.SetHandleCopy(driver.GetHandle());
        shared.openCount = count;
        EXPECT_EQ(driver.GetOpenCount(), static_cast<std::uint32_t>(std::max(count, 0)));
        driver.Unload();
        EXPECT_TRUE(services.exists(zubrik::kServiceName)) << "open count " << count;
        EXPECT_EQ(services.queryState(zubrik::kServiceName), ServiceState::Running) << count;
        EXPECT_EQ(driver.GetHandle(), platform::kInvalidDeviceHandle) << "this program's handle is closed";
        EXPECT_EQ(devices.openHandles(zubrik::kDevicePath), 0U) << count;
    }
}

TEST_F(IoDriverTest, UnloadRemovesTheServiceOnlyForTheLastHandle) {
    auto driver = loadedDriver();
    EXPECT_EQ(driver.GetOpenCount(), 1U);
    driver.Unload();
    EXPECT_FALSE(services.exists(zubrik::kServiceName));
    EXPECT_EQ(driver.GetHandle(), platform::kInvalidDeviceHandle);
}

} // namespace
} // namespace solvane::hw
