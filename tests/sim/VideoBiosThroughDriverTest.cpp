#include "SimTestSupport.h"
#include "hw/IoDriver.h"
#include "hw/IoDriverProtocol.h"
#include "hw/ZubrikDriver.h"
#include "support/TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

namespace zubrik = hw::zubrik;

// The simulated board's machine behind the real I/O driver: the service table, the device namespace
// and the driver's kernel side, as start-up wires them.
class VideoBiosThroughDriver : public ::testing::TestWithParam<std::pair<int, std::string_view>> {
protected:
    VideoBiosThroughDriver()
        : hardware(sim::test::testOptions(GetParam().first, clock)), devices(services),
          kernelSide(hardware.machine()), driver(system, services, devices, sleeper) {
        system.folder = folder.path();
        solvane::test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
        solvane::test::writeFile(folder / "Zubrik.sys", "descriptor");
        devices.attach(zubrik::kDevicePath, zubrik::kServiceName, kernelSide);
        EXPECT_EQ(driver.Load(), hw::IoDriver::kLoaded);
        driver.SetHandleCopy(driver.GetHandle());
    }

    // The display controller's vendor, found as the graphics probe scans buses 0-32.
    std::optional<std::uint16_t> displayVendor() {
        for (std::uint32_t bus = 0; bus <= 32; ++bus)
            for (std::uint32_t device = 0; device < 32; ++device)
                for (std::uint32_t function = 0; function < 8; ++function) {
                    std::uint32_t value = 0;
                    const auto address = zubrik::pciAddress(bus, device, function);
                    if (!driver.ReadPciConfig(address, 8, reinterpret_cast<std::uint8_t*>(&value), 4))
                        continue;
                    if (value != 0xFFFFFFFF && (value >> 16) == 0x0300) {
                        std::uint32_t id = 0;
                        EXPECT_TRUE(
                            driver.ReadPciConfig(address, 0, reinterpret_cast<std::uint8_t*>(&id), 4));
                        return static_cast<std::uint16_t>(id & 0xFFFF);
                    }
                }
        return std::nullopt;
    }

    // The first match of a marker in the legacy video BIOS window, searched block by block; then the
    // 256 bytes from there.
    std::optional<std::string> textAtMarker(std::string_view marker) {
        for (std::uint32_t block = 0xC0000; block < 0xD0000; block += 256) {
            std::array<std::uint8_t, 256> bytes{};
            if (driver.ReadPhysicalMemory(block, bytes.data(), 256, 1) != 256)
                continue;
            for (std::size_t k = 0; k + marker.size() <= bytes.size(); ++k)
                if (std::memcmp(bytes.data() + k, marker.data(), marker.size()) == 0) {
                    std::array<char, 257> text{};
                    if (driver.ReadPhysicalMemory(block + static_cast<std::uint32_t>(k),
                                                  reinterpret_cast<std::uint8_t*>(text.data()), 256,
                                                  1) != 256)
                        return std::nullopt;
                    return std::string(text.data());
                }
        }
        return std::nullopt;
    }

    static std::string wordAfter(const std::string& text, std::size_t from) {
        const auto start = text.find_first_not_of(' ', from);
        return text.substr(start, text.find(' ', start) - start);
    }

    // The version text by each maker's rule.
    std::string version() {
        const auto vendor = displayVendor();
        if (vendor == 0x10DE) {
            const auto text = textAtMarker("Version");
            return text ? wordAfter(*text, text->find(' ')) : std::string();
        }
        if (vendor == 0x8086) {
            const auto text = textAtMarker("SVGA");
            const auto number = text ? text->find("Number:") : std::string::npos;
            return number != std::string::npos ? wordAfter(*text, number + 7) : std::string();
        }
        if (vendor == 0x1002) {
            const auto text = textAtMarker("ATOMBIOSBK-ATI");
            return text ? text->substr(text->find(' ') + 4) : std::string();
        }
        return {};
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
    EXPECT_EQ(version(), GetParam().second);
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

INSTANTIATE_TEST_SUITE_P(EachGraphicsMaker, VideoBiosThroughDriver,
                         ::testing::Values(std::pair{2917, std::string_view("62.00.50.00.03")},
                                           std::pair{2915, std::string_view("62.92.7E.00.20")},
                                           std::pair{2918, std::string_view("1786")},
                                           std::pair{2904, std::string_view("1874")},
                                           std::pair{2916, std::string_view("011.011.000.000.031941")},
                                           std::pair{2907, std::string_view("010.072.000.007.027891")}),
                         [](const auto& test) { return "KX" + std::to_string(test.param.first); });

} // namespace
} // namespace solvane::sim
