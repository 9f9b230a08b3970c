#include "sysinfo/PciDeviceView.h"

#include "PciTestBus.h"
#include "sysinfo/PciFunctionEntries.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

using test::PciTestBus;

// An EHCI controller 8086:3A3A, revision 0x02, class 0x0C0320, latency 0x40, subsystem 1458:5006,
// interrupt line 0x17 on pin 0x04, with every other byte numbered by its offset from 0x10 on.
PciTestBus::Config& addEhci(PciTestBus& bus, int busNumber = 0, int device = 0x1D, int function = 7) {
    auto& config = bus.add(busNumber, device, function, 0x8086, 0x3A3A, 0x0C03, 0x20, 0x02);
    for (std::size_t offset = 0x10; offset < config.size(); ++offset)
        config[offset] = static_cast<std::uint8_t>(offset);
    config[0x0D] = 0x40;
    PciTestBus::put(config, 0x2C, 0x1458);
    PciTestBus::put(config, 0x2E, 0x5006);
    config[0x3C] = 0x17;
    config[0x3D] = 0x04;
    return config;
}

TEST(PciHeader, NineValuesInTheirFormats) {
    PciTestBus bus;
    addEhci(bus);
    const auto header = pciHeaderTexts(readPciConfigSpace(bus, {0, 0x1D, 7}));
    EXPECT_EQ(header, (PciHeaderTexts{"0x8086", "0x3A3A", "0x02", "0x0C0320", "0x40", "0x1458", "0x5006",
                                      "0x17", "0x04"}));
    EXPECT_EQ(kPciHeaderNames[static_cast<std::size_t>(PciHeaderValue::InterruptPin)], "Int Ping");
    EXPECT_EQ(kPciHeaderNames[static_cast<std::size_t>(PciHeaderValue::SubsystemVendorId)], "Sub.Vendor ID");
}

TEST(PciHexView, ThreeLayoutsWithWordsAndDwordsLowByteFirst) {
    PciTestBus bus;
    addEhci(bus);
    const auto registers = readPciConfigSpace(bus, {0, 0x1D, 7});
    const auto bytes = pciHexRows(registers, PciHexWidth::Byte);
    const auto words = pciHexRows(registers, PciHexWidth::Word);
    const auto dwords = pciHexRows(registers, PciHexWidth::Dword);
    EXPECT_EQ(bytes[0], "86 80 3A 3A 00 00 00 00 02 20 03 0C 00 40 00 00 ");
    EXPECT_EQ(words[0], "8086 3A3A 0000 0000 2002 0C03 4000 0000 ");
    EXPECT_EQ(dwords[0], "3A3A8086 00000000 0C032002 00004000 ");
    EXPECT_EQ(bytes[2], "20 21 22 23 24 25 26 27 28 29 2A 2B 58 14 06 50 ");
    EXPECT_EQ(words[2], "2120 2322 2524 2726 2928 2B2A 1458 5006 ");
    EXPECT_EQ(dwords[2], "23222120 27262524 2B2A2928 50061458 ");
    EXPECT_EQ(bytes[15], "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF ");
    EXPECT_EQ(dwords[15], "F3F2F1F0 F7F6F5F4 FBFAF9F8 FFFEFDFC ");
}

TEST(PciHexView, HeadingsFollowTheColumns) {
    EXPECT_EQ(pciHexColumnHeading(PciHexWidth::Byte), "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
    EXPECT_EQ(pciHexColumnHeading(PciHexWidth::Word), "00   02   04   06   08   0A   0C   0E");
    EXPECT_EQ(pciHexColumnHeading(PciHexWidth::Dword), "00       04       08       0C");
    EXPECT_EQ(pciHexRowHeading(), "00\n10\n20\n30\n40\n50\n60\n70\n80\n90\nA0\nB0\nC0\nD0\nE0\nF0");
    // Each heading's offsets stand over the first digit of their column.
    const auto words = pciHexRows(PciRegisters{}, PciHexWidth::Word)[0];
    EXPECT_EQ(pciHexColumnHeading(PciHexWidth::Word).find("02"), words.find(' ') + 1);
}

TEST(PciEntries, ApplyPadsSingleDigitsAndNeedsAllThree) {
    auto applied = applyPciEntries({"1", "f", "7"});
    EXPECT_EQ(applied.entries, (std::array<std::string, 3>{"01", "0f", "07"}));
    ASSERT_TRUE(applied.address);
    EXPECT_EQ(*applied.address, (PciAddress{1, 0x0F, 7}));

    applied = applyPciEntries({"0A", "1F", "00"});
    EXPECT_EQ(*applied.address, (PciAddress{0x0A, 0x1F, 0}));

    for (const auto& missing :
         {std::array<std::string_view, 3>{"", "00", "00"}, std::array<std::string_view, 3>{"00", "", "0"},
          std::array<std::string_view, 3>{"3", "00", ""}}) {
        applied = applyPciEntries(missing);
        EXPECT_FALSE(applied.address);
    }
    // The padding is written back even when an entry is missing.
    EXPECT_EQ(applied.entries, (std::array<std::string, 3>{"03", "00", ""}));
    EXPECT_EQ(kPciEntriesMissingMessage, "Please input Bus / Device / Function number.");
    EXPECT_EQ(pciEntryTexts({0x0A, 0x1F, 3}), (std::array<std::string, 3>{"0A", "1F", "03"}));
}

TEST(PciDeviceView, ShowsListedRowsAndNothingOutsideTheList) {
    PciTestBus bus;
    bus.add(0, 0, 0, 0x8086, 0x2E30, 0x0600);
    addEhci(bus);
    const auto scan = enumeratePci(bus);
    PciDeviceView view(scan, bus);
    EXPECT_FALSE(view.shown());
    ASSERT_TRUE(view.showRow(1));
    EXPECT_EQ(view.shown()->address, (PciAddress{0, 0x1D, 7}));
    EXPECT_EQ(view.shown()->header[static_cast<std::size_t>(PciHeaderValue::ClassCode)], "0x0C0320");
    EXPECT_EQ(view.shownRow(), 1);
    EXPECT_FALSE(view.showRow(2));
    EXPECT_FALSE(view.showRow(-1));
    EXPECT_EQ(view.shown()->address, (PciAddress{0, 0x1D, 7})) << "a row outside the list changes nothing";
}

TEST(PciDeviceView, ShowsAnyFunctionAndSaysWhenNoneAnswers) {
    PciTestBus bus;
    addEhci(bus, 0x0C, 2, 1); // above bus 9: never listed, still reachable
    const auto scan = enumeratePci(bus);
    ASSERT_TRUE(scan.devices.empty());
    PciDeviceView view(scan, bus);
    view.showFunction({0x0C, 2, 1});
    EXPECT_TRUE(view.shown()->answers);
    EXPECT_EQ(view.shown()->header[0], "0x8086");
    EXPECT_EQ(view.shownRow(), std::nullopt);

    view.showFunction({0, 3, 0});
    EXPECT_FALSE(view.shown()->answers);
    EXPECT_EQ(view.shown()->header[static_cast<std::size_t>(PciHeaderValue::ClassCode)], "0xFFFFFF");
    view.setWidth(PciHexWidth::Word);
    for (const auto& row : view.hexRows())
        EXPECT_EQ(row, "FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF ");
}

TEST(PciDeviceView, DeviceAndFunctionNumbersTheBusCannotCarryAreNeverSent) {
    PciTestBus bus;
    addEhci(bus, 1, 0, 0);
    PciScan scan;
    PciDeviceView view(scan, bus);
    // Device 0x20 would spill into the bus field of the address, function 8 into the device field.
    for (const auto address : {PciAddress{0, 0x20, 0}, PciAddress{0, 0xFF, 0}, PciAddress{0, 0, 8}}) {
        view.showFunction(address);
        EXPECT_FALSE(view.shown()->answers);
        for (const auto& row : view.hexRows())
            EXPECT_EQ(row, "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ")
                << "as an absent function reads";
    }
    EXPECT_EQ(bus.reads, 0);
}

// Before any function is chosen, and for a function that is not there, the view reads as the bus
// does for an absent function: every byte FF, in every width.
TEST(PciDeviceView, NothingShownReadsAsAnAbsentFunctionInEveryWidth) {
    PciTestBus bus;
    addEhci(bus);
    const auto scan = enumeratePci(bus);
    const std::pair<PciHexWidth, const char*> widths[] = {
        {PciHexWidth::Byte, "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF "},
        {PciHexWidth::Word, "FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF "},
        {PciHexWidth::Dword, "FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF "},
    };
    for (const auto& [width, line] : widths) {
        PciDeviceView view(scan, bus);
        view.setWidth(width);
        const auto rows = view.hexRows();
        EXPECT_EQ(rows.size(), 16U);
        for (const auto& row : rows)
            EXPECT_EQ(row, line);
        view.showFunction({0, 0x1D, 7});
        EXPECT_NE(view.hexRows().front(), line);
        view.showFunction({0, 0x1D, 6});
        for (const auto& row : view.hexRows())
            EXPECT_EQ(row, line);
    }
}

} // namespace
} // namespace solvane::sysinfo
