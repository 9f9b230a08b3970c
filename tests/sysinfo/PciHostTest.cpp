// The enumeration on the host back-end: a fixture tree with two domains, and this machine against
// lspci.
#include "host/HostHardware.h"
#include "support/ChildProcess.h"
#include "sysinfo/PciConfigSpace.h"
#include "sysinfo/PciEnumeration.h"
#include "sysinfo/PciRowNames.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <sstream>
#include <tuple>

namespace solvane::sysinfo {
namespace {

// bus, device, function, vendor ID, device ID
using Listed = std::tuple<unsigned, unsigned, unsigned, unsigned, unsigned>;

std::vector<Listed> listed(const PciScan& scan) {
    std::vector<Listed> functions;
    for (const auto& device : scan.devices) {
        const auto address = pciRowAddress(device.row);
        EXPECT_TRUE(address) << device.row;
        if (address)
            functions.emplace_back(address->bus, address->device, address->function, device.vendorId,
                                   device.deviceId);
    }
    return functions;
}

TEST(PciOnTheHost, ListsDomainZeroAndNamesWhatTheIdListKnows) {
    const auto fixtures = std::filesystem::path(SOLVANE_TEST_DATA) / "host";
    auto host =
        host::createHostHardware({.sysfsRoot = fixtures / "desktop", .pciIdsFile = fixtures / "pci.ids"});
    const auto scan = enumeratePci(host->falwick());
    // 0001:00:00.0 lies in another domain, which the library's addresses cannot reach.
    ASSERT_EQ(scan.devices.size(), 6U);
    EXPECT_EQ(std::get<0>(listed(scan)[3]), 1U);
    EXPECT_EQ(scan.devices[0].row, "Intel Host Bridge;0x00;0x00;0x00;");
    EXPECT_EQ(host->pciDeviceName(0x8086, 0x2E30), "Intel Corporation 4 Series Chipset DRAM Controller");
    EXPECT_EQ(host->pciDeviceName(0x10DE, 0x0622), "NVIDIA Corporation G94 [GeForce 9600 GT]");
    EXPECT_EQ(host->pciDeviceName(0x8086, 0x1234), std::nullopt) << "a device the list does not know";
    EXPECT_EQ(host->pciDeviceName(0x1AF4, 0x1045), std::nullopt) << "a vendor the list does not know";
}

TEST(PciOnTheHost, RowsTheTablesCannotNameTakeTheIdListsNames) {
    const auto fixtures = std::filesystem::path(SOLVANE_TEST_DATA) / "host";
    auto host =
        host::createHostHardware({.sysfsRoot = fixtures / "desktop", .pciIdsFile = fixtures / "pci.ids"});
    auto scan = enumeratePci(host->falwick());
    const auto factsBefore = scan.facts;
    nameRowsFromIdList(scan, [&host](std::uint16_t vendor, std::uint16_t device) {
        return host->pciDeviceName(vendor, device);
    });
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Intel Host Bridge;0x00;0x00;0x00;", "tables"}, // the ID list knows it, the tables' spelling stays
        {"Intel SMBUS;0x00;0x1F;0x03;", "tables"},
        {"Intel Corporation 100 Series/C230 Series Chipset Family Thermal Subsystem;0x00;0x1F;0x06;",
         "pci.ids"}, // no class row: "Intel Device"
        {"NVidia VGA-compatiable Controller;0x01;0x00;0x00;", "tables"},
        {"Broadcom Inc. and subsidiaries NetXtreme BCM5751 Gigabit Ethernet PCI Express;0x02;0x00;0x00;",
         "pci.ids"},                                  // no vendor row: "Unknown Ethernet Controller"
        {"Unknown Device;0x03;0x00;0x00;", "tables"}, // the ID list does not know it either
    };
    ASSERT_EQ(scan.devices.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(scan.devices[i].row, expected[i].first);
        EXPECT_EQ(scan.devices[i].nameSource, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(scan.facts, factsBefore);
}

TEST(PciRowNames, ANameFromTheListCannotAddARowField) {
    PciScan scan;
    scan.devices.push_back({"Unknown Device;0x00;0x02;0x00;", 0x1234, 0x5678, false, {}});
    nameRowsFromIdList(
        scan, [](std::uint16_t, std::uint16_t) { return std::optional<std::string>("Maker; Chip"); });
    EXPECT_EQ(scan.devices[0].row, "Maker, Chip;0x00;0x02;0x00;");
    const auto fields = pciRowFields(scan.devices[0].row);
    ASSERT_TRUE(fields);
    EXPECT_EQ((*fields)[0], "Maker, Chip");
}

// "00:1f.3 0c05: 8086:3a30 (rev 02)", with a "0000:" domain when the machine has several.
std::vector<Listed> lspciOnBusesZeroToNine(const std::string& output) {
    static const std::regex line(
        R"(^(?:([0-9a-f]{4,}):)?([0-9a-f]{2}):([0-9a-f]{2})\.([0-7]) [0-9a-f]{4}: ([0-9a-f]{4}):([0-9a-f]{4}))");
    std::vector<Listed> functions;
    std::istringstream lines(output);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        if (!std::regex_search(text, match, line))
            continue;
        const auto hex = [&match](int group) {
            return static_cast<unsigned>(std::stoul(match[group], nullptr, 16));
        };
        if ((match[1].matched && hex(1) != 0) || hex(2) > kLastEnumeratedBus)
            continue;
        functions.emplace_back(hex(2), hex(3), hex(4), hex(5), hex(6));
    }
    return functions;
}

TEST(PciOnTheHost, ThisMachineListsWhatLspciListsOnBusesZeroToNine) {
    if (solvane::test::shellOutput("command -v lspci").empty())
        GTEST_SKIP() << "lspci is not installed (Debian package pciutils)";
    const auto expected = lspciOnBusesZeroToNine(solvane::test::shellOutput("lspci -n 2>/dev/null"));
    if (expected.empty())
        GTEST_SKIP() << "lspci lists no PCI function on buses 0 to 9 of this machine";
    auto host = host::createHostHardware({});
    EXPECT_EQ(listed(enumeratePci(host->falwick())), expected);
}

} // namespace
} // namespace solvane::sysinfo
