// The enumeration and the header values on real machines' configuration space, replayed from
// lspci -x dumps, against what lspci itself reads from the same dumps.
#include "hw/replay/ReplayHardware.h"
#include "hw/replay/ReplaySources.h"
#include "sim/SimTestSupport.h"
#include "support/TempFolder.h"
#include "sysinfo/PciDeviceReport.h"

#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

namespace solvane::sysinfo {
namespace {

// What lspci -vnn's first line of a function says: "06:00.0 VGA compatible controller [0300]:
// NVIDIA Corporation GT218 [10de:0a65] (rev a2) (prog-if 00 [VGA controller])". A revision or
// programming interface of 0 is not printed.
struct LspciFunction {
    std::string domain;
    unsigned bus = 0;
    unsigned device = 0;
    unsigned function = 0;
    unsigned classCode = 0;
    unsigned vendorId = 0;
    unsigned deviceId = 0;
    unsigned revision = 0;
    unsigned programmingInterface = 0;
};

std::vector<LspciFunction> lspciFunctions(const std::filesystem::path& lspciVnn) {
    static const std::regex address(R"(^(?:([0-9a-f]{4}):)?([0-9a-f]{2}):([0-9a-f]{2})\.([0-7]) )");
    static const std::regex classCode(R"(\[([0-9a-f]{4})\]: )");
    static const std::regex ids(R"(\[([0-9a-f]{4}):([0-9a-f]{4})\])");
    static const std::regex revision(R"(\(rev ([0-9a-f]{2})\))");
    static const std::regex programmingInterface(R"(\(prog-if ([0-9a-f]{2}))");
    const auto hex = [](const std::string& text) {
        return static_cast<unsigned>(std::stoul(text, nullptr, 16));
    };
    std::vector<LspciFunction> functions;
    std::istringstream lines(test::readTextFile(lspciVnn));
    for (std::string line; std::getline(lines, line);) {
        std::smatch where;
        std::smatch kind;
        if (!std::regex_search(line, where, address) || !std::regex_search(line, kind, classCode))
            continue;
        LspciFunction function;
        function.domain = where[1].matched ? where[1].str() : "0000";
        function.bus = hex(where[2]);
        function.device = hex(where[3]);
        function.function = hex(where[4]);
        function.classCode = hex(kind[1]);
        std::smatch lastIds;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), ids); it != std::sregex_iterator();
             ++it)
            lastIds = *it;
        function.vendorId = hex(lastIds[1]);
        function.deviceId = hex(lastIds[2]);
        std::smatch found;
        if (std::regex_search(line, found, revision))
            function.revision = hex(found[1]);
        if (std::regex_search(line, found, programmingInterface))
            function.programmingInterface = hex(found[1]);
        functions.push_back(function);
    }
    return functions;
}

std::string hexText(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%.*X", digits, value);
    return text;
}

// The vendor and class words of the rows for the makers and classes these machines hold, as the
// page's tables give them.
const std::map<unsigned, std::string> kVendorWords{{0x8086, "Intel"}, {0x10DE, "NVidia"}, {0x10EC, "RealTek"},
                                                   {0x1106, "VIA"},   {0x1002, "ATI"},    {0x1022, "AMD"}};
const std::map<unsigned, std::string> kClassWords{
    {0x0600, "Host Bridge"},
    {0x0601, "ISA Bridge"},
    {0x0604, "PCI-to-PCI Bridge"},
    {0x0800, "8259 PIC"},
    {0x0C03, "USB Controller"},
    {0x0C05, "SMBUS"},
    {0x0300, "VGA-compatiable Controller"},
    {0x0200, "Ethernet Controller"},
    {0x0100, "SCSI bus Controller"},
    {0x0180, "Other Mass Storage Controller"},
    {0x0880, "Other System Peripheral"},
    {0x0C00, "IEEE 1394"},
    {0x0101, "IDE Controller"},
    {0x0380, "Other Display Controller"},
    {0x0401, "Audio Device"},
    {0x0B40, "Co-processor"},
    {0x0280, "Other Network Controller"},
};

std::string expectedRow(const LspciFunction& function) {
    const auto vendor = kVendorWords.find(function.vendorId);
    const auto kind = kClassWords.find(function.classCode);
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, ";0x%.2X;0x%.2X;0x%.2X;", function.bus, function.device,
                  function.function);
    return (vendor == kVendorWords.end() ? "Unknown" : vendor->second) + " " +
           (kind == kClassWords.end() ? "Device" : kind->second) + numbers;
}

class PciRealDumps : public testing::Test {
protected:
    std::vector<PciDeviceReport> reportOn(const std::filesystem::path& dump, PciScan& scan) {
        const auto sources = hw::loadReplaySources({.dmi = {}, .spd = {}, .pci = dump});
        EXPECT_TRUE(sources.ok()) << sources.error();
        auto hardware = hw::withReplay(
            std::make_unique<sim::SimulatedHardware>(sim::test::testOptions(2917, clock)), sources.value());
        scan = enumeratePci(hardware->falwick());
        return pciDeviceReports(scan, hardware->falwick());
    }

    sim::test::ManualClock clock;
};

TEST_F(PciRealDumps, EveryFunctionOfDomainZeroOnBusesZeroToNineAgreesWithLspci) {
    const auto realData = test::realDataFolder();
    int dumps = 0;
    std::size_t listed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(realData / "pci" / "dumps")) {
        SCOPED_TRACE(entry.path().filename().string());
        PciScan scan;
        const auto reports = reportOn(entry.path(), scan);
        std::vector<LspciFunction> expected;
        for (const auto& function : lspciFunctions(realData / "pci" / "expected" /
                                                   (entry.path().stem().string() + ".lspci-vnn.txt")))
            if (function.domain == "0000" && function.bus <= 9)
                expected.push_back(function);
        ASSERT_EQ(reports.size(), expected.size());
        for (std::size_t index = 0; index < expected.size(); ++index) {
            const auto& want = expected[index];
            const auto& got = reports[index];
            SCOPED_TRACE(got.row);
            EXPECT_EQ(got.row, expectedRow(want));
            EXPECT_EQ(got.header[static_cast<std::size_t>(PciHeaderValue::VendorId)],
                      hexText(want.vendorId, 4));
            EXPECT_EQ(got.header[static_cast<std::size_t>(PciHeaderValue::DeviceId)],
                      hexText(want.deviceId, 4));
            EXPECT_EQ(got.header[static_cast<std::size_t>(PciHeaderValue::RevisionId)],
                      hexText(want.revision, 2));
            EXPECT_EQ(got.header[static_cast<std::size_t>(PciHeaderValue::ClassCode)],
                      hexText(want.classCode << 8 | want.programmingInterface, 6));
            EXPECT_EQ(scan.devices[index].vendorId, want.vendorId);
        }
        listed += reports.size();
        ++dumps;
    }
    EXPECT_EQ(dumps, 5);
    // asus-p6t6 lists 34 of its 53 functions (the rest sit on bus ff), fujitsu-p8010 17 of 22
    // (the rest on buses 14 to 1d), fsl-p2020 2 of 6 and PCI-X-bridges-and-domains 2 of 31 (the others lie in
    // other domains), bridge-ctl-vga16 both.
    EXPECT_EQ(listed, 34U + 17U + 2U + 2U + 2U);
}

TEST_F(PciRealDumps, TheX58BoardsFactsAndItsDeviceInDetail) {
    const auto realData = test::realDataFolder();
    PciScan scan;
    const auto reports = reportOn(realData / "pci" / "dumps" / "pciutils__tree-asus-p6t6.txt", scan);
    // 00:00.0 8086:3405 is the X58 host bridge, 00:1f.0 8086:3a16 the ICH10R; the GeForce 210
    // (10de:0a65) has no row in the chip table; the bus ff host bridges lie beyond bus 9.
    EXPECT_EQ(scan.facts, (PciPlatformFacts{.HostBridgeVendor = "Intel",
                                            .HostBridgeChip = "Tylersburg(x58)",
                                            .IsaBridgeVendor = "Intel",
                                            .IsaBridgeChip = "ICH10R",
                                            .GraphicsChip = "",
                                            .Ieee1394Bus = 0}));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports[0].row, "Intel Host Bridge;0x00;0x00;0x00;");
    EXPECT_EQ(reports[0].listView, (std::array<std::string, 4>{"Intel Host Bridge", "0x00", "0x00", "0x00"}));
    const auto vga = std::find_if(reports.begin(), reports.end(), [](const PciDeviceReport& report) {
        return report.row.ends_with(";0x06;0x00;0x00;");
    });
    ASSERT_NE(vga, reports.end());
    // lspci -vnn: "Subsystem: eVga.com. Corp. GT218 [GeForce 210] [3842:1312]", "IRQ 11".
    EXPECT_EQ(vga->header[static_cast<std::size_t>(PciHeaderValue::SubsystemVendorId)], "0x3842");
    EXPECT_EQ(vga->header[static_cast<std::size_t>(PciHeaderValue::SubsystemId)], "0x1312");
    EXPECT_EQ(vga->header[static_cast<std::size_t>(PciHeaderValue::InterruptLine)], "0x0B");
}

} // namespace
} // namespace solvane::sysinfo
