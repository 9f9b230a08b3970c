#include "sysinfo/PciEnumeration.h"

#include "PciTestBus.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

using test::PciTestBus;

std::vector<std::string> rowsOf(const PciScan& scan) {
    std::vector<std::string> rows;
    for (const auto& device : scan.devices)
        rows.push_back(device.row);
    return rows;
}

TEST(PciEnumeration, AnEaglelakeHostBridgeGivesItsRowAndTheHostBridgeFacts) {
    PciTestBus bus;
    bus.add(0, 0, 0, 0x8086, 0x2E30, 0x0600);
    const auto scan = enumeratePci(bus);
    ASSERT_EQ(scan.devices.size(), 1U);
    EXPECT_EQ(scan.devices[0].row, "Intel Host Bridge;0x00;0x00;0x00;");
    EXPECT_EQ(scan.devices[0].vendorId, 0x8086);
    EXPECT_EQ(scan.devices[0].deviceId, 0x2E30);
    EXPECT_EQ(scan.facts.HostBridgeVendor, "Intel");
    EXPECT_EQ(scan.facts.HostBridgeChip, "Eaglelake(G41)");
    EXPECT_EQ(scan.facts.IsaBridgeVendor, "");
    EXPECT_EQ(scan.facts.Ieee1394Bus, 0);
}

TEST(PciEnumeration, UnknownVendorsAndClassesKeepTheirPlaceholderWords) {
    PciTestBus bus;
    bus.add(0, 0x1F, 3, 0x8086, 0x3A30, 0x0C05);
    bus.add(0, 0x1F, 6, 0x8086, 0x3A31, 0x0C80); // a sub-class the table does not have
    bus.add(2, 0, 0, 0x14E4, 0x1681, 0x0200);
    bus.add(3, 0, 0, 0x1B4B, 0x9172, 0x0106);
    EXPECT_EQ(rowsOf(enumeratePci(bus)),
              (std::vector<std::string>{"Intel SMBUS;0x00;0x1F;0x03;", "Intel Device;0x00;0x1F;0x06;",
                                        "Unknown Ethernet Controller;0x02;0x00;0x00;",
                                        "Unknown Device;0x03;0x00;0x00;"}));
}

TEST(PciEnumeration, EveryFunctionThatAnswersIsListedWhateverTheHeaderTypeSays) {
    PciTestBus bus;
    // Function 0 says "single function" (header type 0x00), yet functions 3 and 7 answer; a
    // device whose function 0 is missing still has its function 5 found.
    auto& first = bus.add(0, 4, 0, 0x8086, 0x1111, 0x0880);
    first[0x0E] = 0x00;
    bus.add(0, 4, 3, 0x8086, 0x1112, 0x0880);
    bus.add(0, 4, 7, 0x8086, 0x1113, 0x0880);
    bus.add(0, 5, 5, 0x8086, 0x1114, 0x0880);
    EXPECT_EQ(rowsOf(enumeratePci(bus)),
              (std::vector<std::string>{"Intel Other System Peripheral;0x00;0x04;0x00;",
                                        "Intel Other System Peripheral;0x00;0x04;0x03;",
                                        "Intel Other System Peripheral;0x00;0x04;0x07;",
                                        "Intel Other System Peripheral;0x00;0x05;0x05;"}));
}

TEST(PciEnumeration, ProbesBusesZeroToNineWithTheFunctionInnermost) {
    PciTestBus bus;
    bus.add(9, 0x1F, 7, 0x10EC, 0x8168, 0x0200);
    bus.add(10, 0, 0, 0x10EC, 0x8168, 0x0200); // beyond the last bus the page covers
    bus.add(0xFF, 0, 0, 0x8086, 0x2C41, 0x0600);
    bus.add(1, 0, 1, 0x1002, 0x9600, 0x0300);
    bus.add(1, 1, 0, 0x1002, 0x9601, 0x0300);
    bus.add(1, 0, 0, 0x1002, 0x9601, 0x0300);
    const auto scan = enumeratePci(bus);
    EXPECT_EQ(rowsOf(scan), (std::vector<std::string>{"ATI VGA-compatiable Controller;0x01;0x00;0x00;",
                                                      "ATI VGA-compatiable Controller;0x01;0x00;0x01;",
                                                      "ATI VGA-compatiable Controller;0x01;0x01;0x00;",
                                                      "RealTek Ethernet Controller;0x09;0x1F;0x07;"}));
    // One read of register 0x00 per address, one more of 0x08 per function found; nothing written.
    EXPECT_EQ(bus.reads, 10 * 32 * 8 + 4);
    EXPECT_EQ(bus.writes, 0);
}

TEST(PciEnumeration, TheLastQualifyingFunctionSetsEachFact) {
    PciTestBus bus;
    bus.add(0, 0, 0, 0x8086, 0x2E30, 0x0600);
    bus.add(0, 1, 0, 0x1022, 0x9601, 0x0600); // a host bridge off device 0 is not the platform's
    bus.add(0, 0x1F, 0, 0x8086, 0x27B8, 0x0601);
    bus.add(0, 0x14, 3, 0x1002, 0x439D, 0x0601);
    bus.add(1, 0, 0, 0x10DE, 0x0622, 0x0300);
    bus.add(2, 0, 0, 0x8086, 0x1234, 0x0300); // a graphics chip without a name empties the fact
    bus.add(3, 0, 0, 0x1106, 0x3044, 0x0C00);
    bus.add(5, 6, 0, 0x1106, 0x3044, 0x0C00);
    bus.add(6, 0, 0, 0x1106, 0x3044, 0x0C10); // another serial-bus sub-class is no IEEE 1394
    const auto facts = enumeratePci(bus).facts;
    EXPECT_EQ(facts, (PciPlatformFacts{.HostBridgeVendor = "Intel",
                                       .HostBridgeChip = "Eaglelake(G41)",
                                       .IsaBridgeVendor = "Intel",
                                       .IsaBridgeChip = "82801GB(ICH7/R)",
                                       .GraphicsChip = "",
                                       .Ieee1394Bus = 5}));
}

TEST(PciEnumeration, AnAmdHostBridgeAtDeviceZeroAndItsSouthBridge) {
    PciTestBus bus;
    bus.add(0, 0, 0, 0x1022, 0x5957, 0x0600);
    bus.add(0, 0x14, 3, 0x1002, 0x439D, 0x0601);
    bus.add(1, 5, 0, 0x1002, 0x9601, 0x0300);
    const auto facts = enumeratePci(bus).facts;
    EXPECT_EQ(facts.HostBridgeVendor, "AMD");
    EXPECT_EQ(facts.HostBridgeChip, "RD770");
    EXPECT_EQ(facts.IsaBridgeVendor, "ATI");
    EXPECT_EQ(facts.IsaBridgeChip, "SB710");
    EXPECT_EQ(facts.GraphicsChip, "RS880");
}

TEST(PciEnumeration, AnEmptyBusGivesNoRowsAndNoFacts) {
    PciTestBus bus;
    const auto scan = enumeratePci(bus);
    EXPECT_TRUE(scan.devices.empty());
    EXPECT_EQ(scan.facts, PciPlatformFacts{});
}

} // namespace
} // namespace solvane::sysinfo
