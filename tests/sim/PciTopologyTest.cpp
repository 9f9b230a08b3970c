#include "sim/PciTopology.h"

#include "sim/SimTestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace solvane::sim {
namespace {

struct Function {
    std::uint8_t bus;
    std::uint8_t device;
    std::uint8_t function;
    std::uint16_t vendor;
    std::uint16_t deviceId;
    std::uint32_t classCode; // base class and sub-class
};

// Enumerates buses 0-9 through PCI_RW as the PCI page does.
std::vector<Function> enumerate(SimulatedHardware& hardware) {
    std::vector<Function> functions;
    auto& falwick = hardware.falwick();
    for (std::uint8_t bus = 0; bus <= 9; ++bus)
        for (std::uint8_t device = 0; device < 32; ++device)
            for (std::uint8_t function = 0; function < 8; ++function) {
                const auto id = falwick.PCI_RW(bus, device, function, 0x00, 0, hw::Falwick::kRead);
                if (id == hw::Falwick::kNoDevice)
                    continue;
                const auto classCode =
                    falwick.PCI_RW(bus, device, function, 0x08, 0, hw::Falwick::kRead) >> 16;
                functions.push_back({bus, device, function, static_cast<std::uint16_t>(id & 0xFFFF),
                                     static_cast<std::uint16_t>(id >> 16), classCode});
            }
    return functions;
}

class PciTopology : public ::testing::TestWithParam<int> {};

TEST_P(PciTopology, FitsTheBoardsChipsetAndCpu) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(GetParam(), clock));
    sim::test::loadLibraries(hardware);
    const auto functions = enumerate(hardware);
    const auto& model = hardware.board().model();

    std::vector<Function> hosts;
    std::vector<Function> isaBridges;
    std::vector<Function> displays;
    std::set<std::uint8_t> bridgedBuses{0};
    for (const auto& f : functions) {
        if (f.classCode == 0x0600 && f.device == 0)
            hosts.push_back(f);
        if (f.classCode == 0x0601)
            isaBridges.push_back(f);
        if (f.classCode == 0x0300)
            displays.push_back(f);
        if (f.classCode == 0x0604) {
            const auto buses =
                hardware.falwick().PCI_RW(f.bus, f.device, f.function, 0x18, 0, hw::Falwick::kRead);
            EXPECT_EQ(buses & 0xFF, f.bus);
            bridgedBuses.insert(static_cast<std::uint8_t>((buses >> 8) & 0xFF));
        }
    }
    ASSERT_EQ(hosts.size(), 1U);
    EXPECT_EQ(hosts[0].bus, 0);
    ASSERT_EQ(isaBridges.size(), 1U);
    ASSERT_EQ(displays.size(), 1U);
    EXPECT_EQ(displays[0].vendor, hardware.board().graphics().vendorId);
    // Every function off bus 0 sits behind a bridge.
    for (const auto& f : functions)
        EXPECT_TRUE(bridgedBuses.count(f.bus)) << "bus " << int{f.bus};
    // AMD processors bring their northbridge functions at 0:24; Intel boards have none there.
    const bool amd = model.processor->vendor == CpuVendor::Amd;
    EXPECT_EQ(hardware.falwick().PCI_RW(0, 24, 3, 0, 0, hw::Falwick::kRead) != hw::Falwick::kNoDevice, amd);
    if (amd) {
        EXPECT_NE(hosts[0].vendor, 0x8086);
    } else {
        EXPECT_EQ(hosts[0].vendor, 0x8086);
        EXPECT_EQ(isaBridges[0].vendor, 0x8086);
    }
    // The I/O driver sees the same configuration space.
    std::array<std::uint8_t, 4> id{};
    hardware.machine().readPciConfig(0, 0, id);
    EXPECT_EQ(id[0] | id[1] << 8, hosts[0].vendor);
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, PciTopology, ::testing::ValuesIn(sim::test::allBoardCodes()),
                         sim::test::boardName);

// Across the boards, every kind of table row and platform fact the system-information pages know
// turns up somewhere: each maker's bridges and graphics, an NVIDIA ISA bridge, an IEEE 1394 controller
// off bus 0 with and without a PCI card next to it, functions on each of buses 1 to 9, a vendor and a
// class the tables do not know.
TEST(PciTopologies, CoverEveryPathOfTheSystemInformationPages) {
    std::set<std::uint16_t> hostVendors;
    std::set<std::uint16_t> isaVendors;
    std::set<std::uint16_t> displayVendors;
    std::set<std::uint8_t> buses;
    std::set<std::uint32_t> classes;
    std::set<std::uint16_t> vendors;
    int firewireWithCard = 0;
    int firewireAlone = 0;
    int withoutFirewire = 0;
    for (const auto& board : boardModels()) {
        sim::test::ManualClock clock;
        SimulatedHardware hardware(sim::test::testOptions(board.code, clock));
        sim::test::loadLibraries(hardware);
        const auto functions = enumerate(hardware);
        std::optional<std::uint8_t> firewireBus;
        for (const auto& f : functions) {
            buses.insert(f.bus);
            classes.insert(f.classCode);
            vendors.insert(f.vendor);
            if (f.classCode == 0x0600 && f.device == 0)
                hostVendors.insert(f.vendor);
            if (f.classCode == 0x0601)
                isaVendors.insert(f.vendor);
            if (f.classCode == 0x0300)
                displayVendors.insert(f.vendor);
            if (f.classCode == 0x0C00)
                firewireBus = f.bus;
        }
        if (!firewireBus) {
            ++withoutFirewire;
            continue;
        }
        EXPECT_NE(*firewireBus, 0) << board.code;
        // The LED page's probe: anything at device 0 or 1 of that bus other than the controller itself.
        bool card = false;
        for (const auto& f : functions)
            card = card || (f.bus == *firewireBus && f.device <= 1 && f.classCode != 0x0C00);
        (card ? firewireWithCard : firewireAlone) += 1;
    }
    EXPECT_TRUE(hostVendors.count(0x8086) && hostVendors.count(0x1002) && hostVendors.count(0x1022) &&
                hostVendors.count(0x10DE));
    EXPECT_TRUE(isaVendors.count(0x8086) && isaVendors.count(0x1002) && isaVendors.count(0x1022) &&
                isaVendors.count(0x10DE));
    EXPECT_EQ(displayVendors, (std::set<std::uint16_t>{0x8086, 0x10DE, 0x1002}));
    for (std::uint8_t bus = 1; bus <= 9; ++bus)
        EXPECT_TRUE(buses.count(bus)) << int{bus};
    EXPECT_GT(firewireWithCard, 0);
    EXPECT_GT(firewireAlone, 0);
    EXPECT_GT(withoutFirewire, 0);
    EXPECT_TRUE(classes.count(0x0C05)) << "an SMBus controller";
    EXPECT_TRUE(classes.count(0x0403)) << "a class the class table lacks";
    EXPECT_TRUE(vendors.count(0x14E4)) << "a vendor the vendor table lacks";
    for (const std::uint16_t known : {0x10EC, 0x1106, 0x197B, 0x1095, 0x1969})
        EXPECT_TRUE(vendors.count(known)) << std::hex << known;
}

// The graphics option puts another maker's controller on the board, with its video BIOS.
TEST(PciTopologies, GraphicsOptionReplacesTheController) {
    for (const auto& [board, vendor] :
         {std::pair{2911, GraphicsVendor::Nvidia}, std::pair{2911, GraphicsVendor::Intel},
          std::pair{2911, GraphicsVendor::Ati}, std::pair{2912, GraphicsVendor::Intel}}) {
        sim::test::ManualClock clock;
        auto options = sim::test::testOptions(board, clock);
        options.graphics = vendor;
        SimulatedHardware hardware(options);
        sim::test::loadLibraries(hardware);
        const auto& card = optionCard(vendor);
        std::size_t displays = 0;
        for (const auto& f : enumerate(hardware))
            if (f.classCode == 0x0300) {
                ++displays;
                EXPECT_EQ(f.vendor, card.vendorId);
                EXPECT_EQ(f.deviceId, card.deviceId);
            }
        EXPECT_EQ(displays, 1U);
        EXPECT_EQ(hardware.videoControllerName(), card.name);
        // The chipset's own functions stay where they are.
        EXPECT_EQ(hardware.falwick().PCI_RW(0, 0, 0, 0, 0, hw::Falwick::kRead) & 0xFFFF,
                  board == 2911 ? 0x1022U : 0x1002U);
        if (board == 2912) {
            EXPECT_EQ(hardware.falwick().PCI_RW(0, 2, 0, 0, 0, hw::Falwick::kRead), 0x59781002U);
        }
        std::array<std::uint8_t, 6> rom{};
        ASSERT_TRUE(hardware.machine().readPhysicalMemory(0xC0000, rom));
        EXPECT_EQ(rom[0], 0x55);
        EXPECT_EQ(rom[1], 0xAA);
    }
}

TEST(PciTopologies, HeaderFieldsBehaveAsConfigurationSpaceDoes) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(2917, clock));
    sim::test::loadLibraries(hardware);
    auto& pci = hardware.falwick();
    // The identity is read-only; the interrupt line is the firmware's and the driver's to change.
    pci.PCI_RW(1, 0, 0, 0x00, 0, hw::Falwick::kWrite);
    EXPECT_EQ(pci.PCI_RW(1, 0, 0, 0x00, 0, hw::Falwick::kRead), 0x05E210DEU);
    const auto interrupt = pci.PCI_RW(1, 0, 0, 0x3C, 0, hw::Falwick::kRead);
    pci.PCI_RW(1, 0, 0, 0x3C, 0xFFFFFF0A, hw::Falwick::kWrite);
    EXPECT_EQ(pci.PCI_RW(1, 0, 0, 0x3C, 0, hw::Falwick::kRead), (interrupt & 0xFFFFFF00) | 0x0A);
    // The low two offset bits are not part of a configuration address.
    EXPECT_EQ(pci.PCI_RW(1, 0, 0, 0x02, 0, hw::Falwick::kRead), 0x05E210DEU);
    // Function 0 of a device with more functions says so; a card carries its own subsystem ids.
    EXPECT_EQ((pci.PCI_RW(0, 0x1F, 0, 0x0C, 0, hw::Falwick::kRead) >> 16) & 0x80, 0x80U);
    EXPECT_EQ(pci.PCI_RW(7, 0, 0, 0x2C, 0, hw::Falwick::kRead), 0x00071102U);
    EXPECT_EQ(pci.PCI_RW(0, 0x1F, 3, 0x2C, 0, hw::Falwick::kRead), 0x2917U << 16 | kBoardSubsystemVendor);
}

} // namespace
} // namespace solvane::sim
