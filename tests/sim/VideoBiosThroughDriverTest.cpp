#include "hw/GraphicsBiosProbe.h"
#include "hw/driver/IoDriver.h"
#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "sim/SimTestSupport.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

namespace zubrik = hw::zubrik;

// The simulated board's machine behind the real I/O driver: the service table, the device namespace
// and the driver's kernel side, as start-up wires them.
// A board with its own graphics or with the card the graphics option puts on it, and the version of
// that card's video BIOS.
struct GraphicsCase {
    int board;
    std::optional<GraphicsVendor> graphics;
    std::string_view version;
};

SimulationOptions optionsFor(const GraphicsCase& graphicsCase, sim::test::ManualClock& clock) {
    auto options = sim::test::testOptions(graphicsCase.board, clock);
    options.graphics = graphicsCase.graphics;
    return options;
}

class VideoBiosThroughDriver : public ::testing::TestWithParam<GraphicsCase> {
protected:
    VideoBiosThroughDriver()
        : hardware(optionsFor(GetParam(), clock)), devices(services), kernelSide(hardware.machine()),
          driver(system, services, devices, sleeper) {
        system.folder = folder.path();
        solvane::test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
        solvane::test::writeFile(folder / "Zubrik.sys", "descriptor");
        devices.attach(zubrik::kDevicePath, zubrik::kServiceName, kernelSide);
        EXPECT_EQ(driver.Load(), hw::IoDriver::kLoaded);
        driver.SetHandleCopy(driver.GetHandle());
    }

    // The version the graphics BIOS probe finds through the driver.
    std::string version() {
        hw::BackendVideoControllers controllers(hardware);
        hw::GraphicsBiosProbe probe(&driver, controllers);
        probe.Run();
        return probe.version();
    }

    sim::test::ManualClock clock;
    SimulatedHardware hardware;
    solvane::test::TempFolder folder;
    platform::FakeSystemFacts system;
    platform::ServiceTable services;
    platform::DeviceNamespace devices;
    hw::ZubrikDriver kernelSide;
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver;
};

TEST_P(VideoBiosThroughDriver, CarriesEachMakersMarkerAndVersion) {
    EXPECT_EQ(version(), GetParam().version);
    // The image is a proper option ROM: signature, length and a zero byte sum.
    std::vector<std::uint8_t> rom(512);
    ASSERT_EQ(driver.ReadPhysicalMemory(0xC0000, rom.data(), 512, 1), 512U);
    ASSERT_EQ(rom[0], 0x55);
    ASSERT_EQ(rom[1], 0xAA);
    rom.resize(rom[2] * 512U);
    ASSERT_EQ(driver.ReadPhysicalMemory(0xC0000, rom.data(), static_cast<std::uint32_t>(rom.size()), 1),
              rom.size());
    unsigned sum = 0;
    for (const auto byte : rom)
        sum += byte;
    EXPECT_EQ(sum % 256, 0U);
}

std::string caseName(const ::testing::TestParamInfo<GraphicsCase>& info) {
    constexpr std::array<std::string_view, 3> kMakers{"Nvidia", "Intel", "Ati"};
    const auto& graphicsCase = info.param;
    std::string name = "KX" + std::to_string(graphicsCase.board);
    if (graphicsCase.graphics)
        name += "With" + std::string(kMakers[static_cast<std::size_t>(*graphicsCase.graphics)]);
    return name;
}

INSTANTIATE_TEST_SUITE_P(EachGraphicsMaker, VideoBiosThroughDriver,
                         ::testing::Values(GraphicsCase{2917, {}, "62.00.50.00.03"},
                                           GraphicsCase{2915, {}, "62.92.7E.00.20"},
                                           GraphicsCase{2918, {}, "1786"}, GraphicsCase{2904, {}, "1874"},
                                           GraphicsCase{2916, {}, "011.011.000.000.031941"},
                                           GraphicsCase{2907, {}, "010.072.000.007.027891"},
                                           GraphicsCase{2904, GraphicsVendor::Nvidia, "62.00.50.00.03"},
                                           GraphicsCase{2916, GraphicsVendor::Intel, "1874"},
                                           GraphicsCase{2901, GraphicsVendor::Ati, "011.011.000.000.031941"}),
                         caseName);

} // namespace
} // namespace solvane::sim
