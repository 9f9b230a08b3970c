#include "hw/GraphicsBiosProbe.h"

#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "sim/images/VideoBiosImage.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace solvane::hw {
namespace {

using Property = VideoControllerQuery::Property;

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.resize(256, 0);
    return bytes;
}

TEST(VideoBiosVersion, EachMakersRuleTakesTheVersionBesideTheMarker) {
    struct Case {
        VideoBiosParser parser;
        std::string_view bytes;
        std::string_view version;
    };
    for (const auto& [parser, bytes, version] : {
             Case{VideoBiosParser::Nvidia, "Version 62.92.7E.00.20 \r\nCopyright", "62.92.7E.00.20"},
             // Blanks are the only separators: the line break belongs to the word.
             Case{VideoBiosParser::Nvidia, "Version 62.92.7E.00.20\r\nCopyright",
                  "62.92.7E.00.20\r\nCopyright"},
             Case{VideoBiosParser::Nvidia, "Version", ""},
             Case{VideoBiosParser::Intel, "SVGA BIOS\r\nBuild Number: 1874 PC 14.34", "1874"},
             Case{VideoBiosParser::Intel, "SVGA BIOS\r\nBuild 1874 PC 14.34", ""},
             Case{VideoBiosParser::Intel, "SVGA BIOS Number:", ""},
             Case{VideoBiosParser::Ati, "ATOMBIOSBK-ATI VER011.011.000.000.031941", "011.011.000.000.031941"},
             Case{VideoBiosParser::Ati, "ATOMBIOSBK-ATI VER", ""},
             Case{VideoBiosParser::Ati, "ATOMBIOSBK-ATI", ""},
             Case{VideoBiosParser::None, "Version 62.92.7E.00.20 ", ""},
         })
        EXPECT_EQ(extractVideoBiosVersion(parser, bytesOf(bytes)), version) << bytes;
}

TEST(VideoBiosVersion, TheTextEndsAtTheFirstZeroByte) {
    auto bytes = bytesOf("ATOMBIOSBK-ATI VER011.011");
    bytes[22] = 0; // "…VER011." then the rest hidden
    EXPECT_EQ(extractVideoBiosVersion(VideoBiosParser::Ati, bytes), "011.");
    // A full block without any zero byte is read to its end.
    std::vector<std::uint8_t> full(256, 'x');
    std::copy_n("Version 1.2", 11, full.begin());
    EXPECT_EQ(extractVideoBiosVersion(VideoBiosParser::Nvidia, full), "1.2" + std::string(245, 'x'));
}

TEST(VideoBiosVersion, VendorsMapToTheirParsers) {
    EXPECT_EQ(parserForVendor(0x10DE), VideoBiosParser::Nvidia);
    EXPECT_EQ(parserForVendor(0x8086), VideoBiosParser::Intel);
    EXPECT_EQ(parserForVendor(0x1002), VideoBiosParser::Ati);
    EXPECT_EQ(parserForVendor(0x1106), VideoBiosParser::None);
    EXPECT_EQ(markerOf(VideoBiosParser::Nvidia), "Version");
    EXPECT_EQ(markerOf(VideoBiosParser::Intel), "SVGA");
    EXPECT_EQ(markerOf(VideoBiosParser::Ati), "ATOMBIOSBK-ATI");
    EXPECT_EQ(markerOf(VideoBiosParser::None), "");
}

TEST(VideoBiosVersion, AMarkerEndingOnTheBlocksLastByteIsNotFound) {
    std::vector<std::uint8_t> block(256, 0);
    std::copy_n("SVGA", 4, block.begin() + 252); // bytes 252..255
    EXPECT_TRUE(findMarkerInBlock(block, 0xC1000, "SVGA").empty());
    std::copy_n("SVGA", 4, block.begin() + 251); // bytes 251..254: the last start tried
    EXPECT_EQ(findMarkerInBlock(block, 0xC1000, "SVGA"), std::vector<std::uint32_t>{0xC10FB});
    std::copy_n("SVGA", 4, block.begin());
    EXPECT_EQ(findMarkerInBlock(block, 0xC1000, "SVGA"), (std::vector<std::uint32_t>{0xC1000, 0xC10FB}));
}

// A machine with display controllers where the test puts them and a video BIOS window the test
// fills; blocks can be made unreadable.
class ProbeMachine final : public MachineAccess {
public:
    void addFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function, std::uint16_t vendorId,
                     std::uint32_t classCode) {
        std::array<std::uint8_t, 256> space{};
        space.fill(0);
        space[0] = static_cast<std::uint8_t>(vendorId);
        space[1] = static_cast<std::uint8_t>(vendorId >> 8);
        space[9] = static_cast<std::uint8_t>(classCode);
        space[10] = static_cast<std::uint8_t>(classCode >> 8);
        space[11] = static_cast<std::uint8_t>(classCode >> 16);
        functions[zubrik::pciAddress(bus, device, function)] = space;
    }
    void place(std::uint32_t address, std::string_view text) {
        std::copy(text.begin(), text.end(), memory.begin() + (address - kVideoBiosWindowStart));
    }

    void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) override {
        ++configReads;
        const auto found = functions.find(pciAddress);
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = found == functions.end() || offset + i >= 256 ? 0xFF : found->second[offset + i];
    }
    bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) override {
        if (address < kVideoBiosWindowStart || address + out.size() > kVideoBiosWindowEnd + 0x100)
            return false;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const auto at = address + i;
            if (unreadableBlocks.contains(at & ~std::uint64_t{0xFF}))
                return false;
            out[i] = at < kVideoBiosWindowEnd ? memory[at - kVideoBiosWindowStart] : 0;
        }
        return true;
    }

    std::map<std::uint32_t, std::array<std::uint8_t, 256>> functions;
    std::vector<std::uint8_t> memory =
        std::vector<std::uint8_t>(kVideoBiosWindowEnd - kVideoBiosWindowStart, 0);
    std::set<std::uint64_t> unreadableBlocks;
    int configReads = 0;
};

class FixedControllers final : public VideoControllerQuery {
public:
    std::vector<std::string> names;
    std::vector<std::string> values(Property property) const override {
        return property == Property::Name ? names : std::vector<std::string>{};
    }
};

class GraphicsBiosProbeTest : public ::testing::Test {
protected:
    GraphicsBiosProbeTest()
        : devices(services), kernelSide(machine), driver(system, services, devices, sleeper) {
        system.folder = folder.path();
        test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
        test::writeFile(folder / "Zubrik.sys", "descriptor");
        devices.attach(zubrik::kDevicePath, zubrik::kServiceName, kernelSide);
    }

    GraphicsBiosProbe runProbe(bool loadDriver = true) {
        if (loadDriver && driver.GetHandle() == platform::kInvalidDeviceHandle) {
            EXPECT_EQ(driver.Load(), IoDriver::kLoaded);
            driver.SetHandleCopy(driver.GetHandle());
        }
        GraphicsBiosProbe probe(&driver, controllers);
        probe.Run();
        return probe;
    }

    test::TempFolder folder;
    platform::FakeSystemFacts system;
    platform::ServiceTable services;
    platform::DeviceNamespace devices;
    ProbeMachine machine;
    ZubrikDriver kernelSide;
    platform::RecordingSleeper sleeper;
    IoDriver driver;
    FixedControllers controllers;
};

constexpr std::uint32_t kVga = 0x030000;

TEST_F(GraphicsBiosProbeTest, FindsTheNvidiaVersionBehindItsMarker) {
    machine.addFunction(1, 0, 0, 0x10DE, kVga);
    machine.place(0xC01A0, "Version 62.92.7E.00.20 \r\nCopyright (C) 1996-2008 NVIDIA Corp.");
    controllers.names = {"  NVIDIA GeForce 9800 GT \r\n", "second adapter"};
    const auto probe = runProbe();
    EXPECT_EQ(probe.parser(), VideoBiosParser::Nvidia);
    EXPECT_EQ(probe.version(), "62.92.7E.00.20");
    EXPECT_EQ(probe.adapterName(), "NVIDIA GeForce 9800 GT");
}

TEST_F(GraphicsBiosProbeTest, IntelWithoutNumberWithinTheBytesAfterTheMarkerGivesNothing) {
    machine.addFunction(0, 2, 0, 0x8086, kVga);
    // "Number:" starts 250 bytes after "SVGA": its last character lies beyond the 256 bytes read.
    const std::string text = "SVGA BIOS" + std::string(241, '-') + "Number: 1874 PC";
    machine.place(0xC0120, text);
    EXPECT_EQ(runProbe().version(), "");
    machine.place(0xC0120 + 246, "Number: 1874 PC"); // the read ends two digits into the number
    EXPECT_EQ(runProbe().version(), "18");
    machine.place(0xC0120 + 240, "Number: 1874 PC");
    EXPECT_EQ(runProbe().version(), "1874");
}

TEST_F(GraphicsBiosProbeTest, MarkersAtOrAcrossABlockEndAreNotFound) {
    machine.addFunction(1, 0, 0, 0x1002, kVga);
    const std::string_view text = "ATOMBIOSBK-ATI VER011.011.000.000.031941";
    machine.place(0xC0100 - 14, text); // the marker ends on the block's last byte
    EXPECT_EQ(runProbe().version(), "");
    machine.memory.assign(machine.memory.size(), 0);
    machine.place(0xC0100 - 7, text); // the marker crosses into the next block
    EXPECT_EQ(runProbe().version(), "");
    machine.place(0xC4000 - 15, text); // one byte earlier: found
    EXPECT_EQ(runProbe().version(), "011.011.000.000.031941");
}

TEST_F(GraphicsBiosProbeTest, TheFirstMatchInAReadableBlockWins) {
    machine.addFunction(1, 0, 0, 0x10DE, kVga);
    machine.place(0xC0010, "Version 1.0 ");
    machine.place(0xC0810, "Version 2.0 ");
    machine.place(0xC2010, "Version 3.0 ");
    EXPECT_EQ(runProbe().version(), "1.0");
    machine.unreadableBlocks = {0xC0000};
    EXPECT_EQ(runProbe().version(), "2.0");
    // The second read, of the 256 bytes at the match, fails too: nothing.
    machine.unreadableBlocks = {0xC0000, 0xC0900};
    EXPECT_EQ(runProbe().version(), "");
}

TEST_F(GraphicsBiosProbeTest, AControllerBeyondBus32IsNotFound) {
    machine.addFunction(33, 0, 0, 0x10DE, kVga);
    machine.place(0xC01A0, "Version 62.92.7E.00.20 ");
    const auto probe = runProbe();
    EXPECT_EQ(probe.parser(), VideoBiosParser::None);
    EXPECT_EQ(probe.version(), "");
    machine.addFunction(32, 31, 7, 0x10DE, kVga); // the last place scanned
    EXPECT_EQ(runProbe().version(), "62.92.7E.00.20");
}

TEST_F(GraphicsBiosProbeTest, TheFirstVgaControllerInScanOrderDecides) {
    machine.addFunction(0, 2, 1, 0x8086, 0x038000); // a second display function, not VGA
    machine.addFunction(0, 2, 3, 0x1106, kVga);     // a maker without a parser, first in scan order
    machine.addFunction(1, 0, 0, 0x10DE, kVga);
    machine.place(0xC01A0, "Version 62.92.7E.00.20 ");
    const auto probe = runProbe();
    EXPECT_EQ(probe.parser(), VideoBiosParser::None);
    EXPECT_EQ(probe.version(), "");
    machine.functions.erase(zubrik::pciAddress(0, 2, 3));
    EXPECT_EQ(runProbe().parser(), VideoBiosParser::Nvidia);
}

TEST_F(GraphicsBiosProbeTest, WithoutTheDriverNothingIsFound) {
    machine.addFunction(1, 0, 0, 0x10DE, kVga);
    machine.place(0xC01A0, "Version 62.92.7E.00.20 ");
    controllers.names = {"Adapter"};
    const auto probe = runProbe(false); // never loaded: every request is refused
    EXPECT_EQ(probe.parser(), VideoBiosParser::None);
    EXPECT_EQ(probe.version(), "");
    EXPECT_EQ(machine.configReads, 0);
    EXPECT_EQ(probe.adapterName(), "Adapter");

    GraphicsBiosProbe none(nullptr, controllers);
    none.Run();
    EXPECT_EQ(none.version(), "");
    EXPECT_EQ(none.adapterName(), "Adapter");
}

} // namespace
} // namespace solvane::hw
