#include "hw/driver/ZubrikDriver.h"

#include "hw/ByteOrder.h"
#include "hw/driver/IoDriverProtocol.h"
#include "sim/SimulatedMachine.h"
#include "sim/boards/SkeletonBoard.h"

#include <gtest/gtest.h>

namespace solvane::hw {
namespace {

using platform::WinError;

class ZubrikDriverTest : public ::testing::Test {
protected:
    ZubrikDriverTest() : driver(machine) { sim::addBaseDevices(machine); }

    WinError readMemory(std::uint64_t address, std::uint32_t unitSize, std::uint32_t unitCount,
                        std::span<std::uint8_t> output, std::uint32_t& returned) {
        std::array<std::uint8_t, zubrik::kMemoryReadInputSize> input{};
        writeLittleEndian<std::uint64_t>(input, 0, address);
        writeLittleEndian<std::uint32_t>(input, 8, unitSize);
        writeLittleEndian<std::uint32_t>(input, 12, unitCount);
        return driver.control(zubrik::kPhysicalMemoryReadRequest, input, output, returned, 1);
    }

    sim::SimulatedMachine machine;
    ZubrikDriver driver;
};

TEST_F(ZubrikDriverTest, RefusesMemoryRequestsThatDoNotFitTheirBuffers) {
    std::array<std::uint8_t, 256> output{};
    std::uint32_t returned = 7;
    EXPECT_EQ(readMemory(0xC0000, 3, 10, output, returned), WinError::InvalidParameter);
    EXPECT_EQ(readMemory(0xC0000, 1, 257, output, returned), WinError::InsufficientBuffer);
    EXPECT_EQ(readMemory(0xC0000, 4, 0x40000001, output, returned), WinError::InsufficientBuffer);
    EXPECT_EQ(readMemory(0xFFFFFFFFFFFFFFF0ULL, 1, 32, output, returned), WinError::InvalidParameter);
    EXPECT_EQ(returned, 0U);
    EXPECT_EQ(readMemory(0xC0000, 2, 128, output, returned), WinError::Success);
    EXPECT_EQ(returned, 256U);

    std::array<std::uint8_t, 8> shortInput{};
    EXPECT_EQ(driver.control(zubrik::kPhysicalMemoryReadRequest, shortInput, output, returned, 1),
              WinError::InvalidParameter);
}

TEST_F(ZubrikDriverTest, PciReadsStayInsideTheConfigurationSpace) {
    std::array<std::uint8_t, zubrik::kPciReadInputSize> input{};
    std::array<std::uint8_t, 16> output{};
    std::uint32_t returned = 0;
    writeLittleEndian<std::uint32_t>(input, 0, zubrik::pciAddress(1, 0, 0));
    writeLittleEndian<std::uint32_t>(input, 4, 4090);
    EXPECT_EQ(driver.control(zubrik::kPciConfigReadRequest, input, output, returned, 1),
              WinError::InvalidParameter);
    writeLittleEndian<std::uint32_t>(input, 0, 0x10000);
    writeLittleEndian<std::uint32_t>(input, 4, 0);
    EXPECT_EQ(driver.control(zubrik::kPciConfigReadRequest, input, output, returned, 1),
              WinError::InvalidParameter);
    writeLittleEndian<std::uint32_t>(input, 0, zubrik::pciAddress(1, 0, 0));
    ASSERT_EQ(driver.control(zubrik::kPciConfigReadRequest, input, output, returned, 1), WinError::Success);
    EXPECT_EQ(returned, 16U);
    EXPECT_EQ(readLittleEndian<std::uint16_t>(output, 0), 0x10DE);
    EXPECT_EQ(output[0x0B], 0x03); // display controller
}

// Each refusal at its edge: one byte too few of input, no output at all, the last bytes of the
// configuration space and one past them, an empty memory request.
TEST_F(ZubrikDriverTest, RequestsAtTheEdgesOfTheirBuffers) {
    std::array<std::uint8_t, zubrik::kPciReadInputSize> input{};
    writeLittleEndian<std::uint32_t>(input, 0, zubrik::pciAddress(1, 0, 0));
    std::array<std::uint8_t, 16> output{};
    std::uint32_t returned = 0;
    const auto pci = [&](std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
        returned = 0;
        return driver.control(zubrik::kPciConfigReadRequest, in, out, returned, 1);
    };
    EXPECT_EQ(pci(std::span(input).first(input.size() - 1), output), WinError::InvalidParameter);
    EXPECT_EQ(pci(input, {}), WinError::InvalidParameter);
    writeLittleEndian<std::uint32_t>(input, 4, zubrik::kPciConfigSpaceSize - 16);
    EXPECT_EQ(pci(input, output), WinError::Success);
    EXPECT_EQ(returned, 16U);
    writeLittleEndian<std::uint32_t>(input, 4, zubrik::kPciConfigSpaceSize - 15);
    EXPECT_EQ(pci(input, output), WinError::InvalidParameter);
    writeLittleEndian<std::uint32_t>(input, 4, zubrik::kPciConfigSpaceSize);
    EXPECT_EQ(pci(input, std::span(output).first(1)), WinError::InvalidParameter);
    writeLittleEndian<std::uint32_t>(input, 0, 0xFFFF);
    writeLittleEndian<std::uint32_t>(input, 4, 0);
    EXPECT_EQ(pci(input, output), WinError::Success) << "the last bus, device and function";

    std::array<std::uint8_t, 4> memory{};
    EXPECT_EQ(readMemory(0xC0000, 1, 0, memory, returned), WinError::InsufficientBuffer);
    EXPECT_EQ(readMemory(0xC0000, 4, 1, memory, returned), WinError::Success);
    EXPECT_EQ(readMemory(0xC0000, 1, 5, memory, returned), WinError::InsufficientBuffer);
    std::array<std::uint8_t, zubrik::kMemoryReadInputSize - 1> shortInput{};
    EXPECT_EQ(driver.control(zubrik::kPhysicalMemoryReadRequest, shortInput, memory, returned, 1),
              WinError::InvalidParameter);
    std::array<std::uint8_t, 3> almost{};
    EXPECT_EQ(driver.control(zubrik::kOpenCountRequest, {}, almost, returned, 1),
              WinError::InsufficientBuffer);
}

TEST_F(ZubrikDriverTest, OpenCountAndUnknownRequests) {
    std::array<std::uint8_t, 4> output{};
    std::uint32_t returned = 0;
    ASSERT_EQ(driver.control(zubrik::kOpenCountRequest, {}, output, returned, 3), WinError::Success);
    EXPECT_EQ(readLittleEndian<std::uint32_t>(output, 0), 3U);
    EXPECT_EQ(driver.control(0xC3500000, {}, output, returned, 1), WinError::InvalidParameter);
    std::array<std::uint8_t, 2> tiny{};
    EXPECT_EQ(driver.control(zubrik::kOpenCountRequest, {}, tiny, returned, 1), WinError::InsufficientBuffer);
}

} // namespace
} // namespace solvane::hw
