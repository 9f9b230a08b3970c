// Runs the graphics BIOS probe through the I/O driver over a machine made of the input: the display
// controller's maker and bus, which blocks of the video BIOS window cannot be read, and the window's
// bytes (random images, markers at block ends, versions without an end). The probe must stay within
// the 256 bytes it read and never report a version for a controller it may not find.
#include "hw/GraphicsBiosProbe.h"
#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "platform/DeviceIo.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "platform/SystemFacts.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <vector>

namespace {

using namespace solvane;

constexpr std::array<std::uint16_t, 4> kVendors{0x10DE, 0x8086, 0x1002, 0x1106};
constexpr std::size_t kWindowSize = hw::kVideoBiosWindowEnd - hw::kVideoBiosWindowStart;
constexpr std::size_t kBlocks = kWindowSize / hw::kVideoBiosBlockSize;

// Input: 1 byte maker, 1 byte bus, 32 bytes of unreadable-block bits (one per block), then the window.
class FuzzedMachine final : public hw::MachineAccess {
public:
    explicit FuzzedMachine(std::span<const std::uint8_t> data) {
        if (data.size() >= 2) {
            vendor = kVendors[data[0] % kVendors.size()];
            bus = data[1];
            data = data.subspan(2);
        }
        const auto bits = std::min<std::size_t>(data.size(), kBlocks / 8);
        std::copy_n(data.begin(), bits, m_unreadable.begin());
        data = data.subspan(bits);
        m_window.assign(data.begin(),
                        data.begin() + static_cast<std::ptrdiff_t>(std::min(data.size(), kWindowSize)));
        m_window.resize(kWindowSize, 0);
    }

    void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) override {
        std::array<std::uint8_t, 16> header{};
        header.fill(0xFF);
        if (pciAddress == hw::zubrik::pciAddress(bus, 0, 0)) {
            header = {static_cast<std::uint8_t>(vendor),
                      static_cast<std::uint8_t>(vendor >> 8),
                      0x34,
                      0x12,
                      0,
                      0,
                      0,
                      0,
                      0xA1,
                      0x00,
                      0x00,
                      0x03,
                      0,
                      0,
                      0,
                      0};
        }
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = offset + i < header.size() ? header[offset + i] : 0xFF;
    }
    bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) override {
        if (address < hw::kVideoBiosWindowStart || address + out.size() > hw::kVideoBiosWindowEnd)
            return false;
        const std::size_t start = address - hw::kVideoBiosWindowStart;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::size_t block = (start + i) / hw::kVideoBiosBlockSize;
            if ((m_unreadable[block / 8] >> (block % 8)) & 1U)
                return false;
            out[i] = m_window[start + i];
        }
        return true;
    }

    std::uint16_t vendor = 0x10DE;
    std::uint8_t bus = 1;

private:
    std::array<std::uint8_t, kBlocks / 8> m_unreadable{};
    std::vector<std::uint8_t> m_window;
};

class NoControllers final : public hw::VideoControllerQuery {
public:
    std::vector<std::string> values(Property) const override { return {}; }
};

// The program folder with the driver files, made once.
std::filesystem::path driverFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / "solvane-fuzz-probe";
        std::filesystem::create_directories(path);
        for (const auto file : {hw::zubrik::kDriverFile32, hw::zubrik::kDriverFile64})
            std::ofstream(path / std::string(file)) << "descriptor";
        return path;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedMachine machine(std::span(data, size));
    hw::ZubrikDriver kernelSide(machine);
    platform::FakeSystemFacts system;
    system.folder = driverFolder();
    platform::ServiceTable services;
    platform::DeviceNamespace devices(services);
    devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, kernelSide);
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver(system, services, devices, sleeper);
    if (driver.Load() != hw::IoDriver::kLoaded)
        std::abort();
    driver.SetHandleCopy(driver.GetHandle());

    NoControllers controllers;
    hw::GraphicsBiosProbe probe(&driver, controllers);
    probe.Run();
    const auto expected = machine.bus <= hw::GraphicsBiosProbe::kLastBus ? hw::parserForVendor(machine.vendor)
                                                                         : hw::VideoBiosParser::None;
    if (probe.parser() != expected)
        std::abort();
    if (probe.version().size() > hw::kVideoBiosBlockSize)
        std::abort(); // more than the bytes read at the marker
    if (expected == hw::VideoBiosParser::None && !probe.version().empty())
        std::abort();
    return 0;
}
