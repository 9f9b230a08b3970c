// The PCI page on every simulated board: the device list, the platform facts and the header of
// the first function, against text checked by hand once per board (tests/data/sysinfo/pci).
// SOLVANE_WRITE_GOLDEN=1 writes the files afresh instead, for a new board; read every line then.
#include "sim/SimTestSupport.h"
#include "support/TempFolder.h"
#include "sysinfo/PciDeviceReport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

std::filesystem::path goldenFile(int board) {
    return std::filesystem::path(SOLVANE_TEST_DATA) / "sysinfo" / "pci" / (std::to_string(board) + ".txt");
}

std::string pageText(const PciScan& scan, const std::vector<PciDeviceReport>& reports) {
    std::string text = "Device list:\n";
    for (const auto& report : reports)
        text += "  " + report.row + "\n";
    text += "Facts:\n";
    text += "  HostBridgeVendor: " + scan.facts.HostBridgeVendor + "\n";
    text += "  HostBridgeChip: " + scan.facts.HostBridgeChip + "\n";
    text += "  IsaBridgeVendor: " + scan.facts.IsaBridgeVendor + "\n";
    text += "  IsaBridgeChip: " + scan.facts.IsaBridgeChip + "\n";
    text += "  GraphicsChip: " + scan.facts.GraphicsChip + "\n";
    text += "  Ieee1394Bus: " + std::to_string(scan.facts.Ieee1394Bus) + "\n";
    text += "Header of device 0:\n";
    if (!reports.empty())
        for (std::size_t index = 0; index < kPciHeaderValueCount; ++index)
            text += "  " + std::string(kPciHeaderNames[index]) + ": " + reports.front().header[index] + "\n";
    return text;
}

class PciOnEveryBoard : public testing::TestWithParam<int> {};

TEST_P(PciOnEveryBoard, ListFactsAndFirstHeaderAsCheckedByHand) {
    sim::test::ManualClock clock;
    sim::SimulatedHardware hardware(sim::test::testOptions(GetParam(), clock));
    sim::test::loadLibraries(hardware);
    const auto scan = enumeratePci(hardware.falwick());
    const auto text = pageText(scan, pciDeviceReports(scan, hardware.falwick()));
    const auto golden = goldenFile(GetParam());
    if (std::getenv("SOLVANE_WRITE_GOLDEN") != nullptr) {
        std::filesystem::create_directories(golden.parent_path());
        test::writeFile(golden, text);
        GTEST_SKIP() << "wrote " << golden;
    }
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
    EXPECT_EQ(text, test::readTextFile(golden));
}

INSTANTIATE_TEST_SUITE_P(Boards, PciOnEveryBoard, testing::ValuesIn(sim::test::allBoardCodes()),
                         sim::test::boardName);

} // namespace
} // namespace solvane::sysinfo
